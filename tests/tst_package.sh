#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Builds the Debian package with scripts/package and checks it as a school's admin would:
# lintian finds no error and no warning, the binaries run from the package, the manual pages,
# changelog and copyright lie where Debian looks, and the copyright file names the holder and
# a real licence of every picture, the same pictures images/QUELLEN.txt lists.
#   tst_package.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in lintian dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || fail "$tool is missing: scripts/setup --with tests installs it"
done
export LC_ALL=C.UTF-8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Two compiler jobs at most, as everywhere here; the other tests are done within a minute.
CMAKE_BUILD_PARALLEL_LEVEL=2 nice "$source_dir/scripts/package" "$build/package" >"$work/log" 2>&1 ||
    { cat "$work/log"; fail "scripts/package failed"; }
deb=$(tail -n 1 "$work/log")
[ -f "$deb" ] || { cat "$work/log"; fail "scripts/package named no package"; }

lintian --tag-display-limit 0 --fail-on error,warning "$deb" >"$work/lintian" 2>&1 ||
    { cat "$work/lintian"; fail "lintian"; }
! grep -E '^[EW]: ' "$work/lintian" || fail "lintian reports errors or warnings"

root=$work/root
dpkg-deb -x "$deb" "$root"
for file in usr/share/man/man6/lautgarten.6.gz usr/share/man/de/man6/lautgarten.6.gz \
            usr/share/man/man1/lautgarten-pruefen.1.gz usr/share/man/de/man1/lautgarten-pruefen.1.gz \
            usr/share/doc/lautgarten/changelog.gz usr/share/doc/lautgarten/copyright; do
    [ -s "$root/$file" ] || fail "$file is not in the package"
done
# The stripped checker, started through its link, finds the packaged library complete.
(cd / && "$root/usr/bin/lautgarten-pruefen" 2>"$work/stderr") | grep -q "in Ordnung" ||
    { cat "$work/stderr"; fail "the packaged lautgarten-pruefen does not find its library fine"; }

# Every file a manual page lists under FILES is in the package.
for page in "$root"/usr/share/man/{,de/}man?/*.gz; do
    zcat "$page" | sed -n '/^\.SH \(FILES\|DATEIEN\)/,/^\.SH/{/^\.TP/{n;s/^\.I //;s/\\-/-/g;p}}' |
        while read -r path; do
            [ -e "$root$path" ] || fail "${page#"$root"} lists $path, which the package lacks"
        done
done

# The copyright file: one row per Files pattern (paragraph, pattern, licence), and the licences
# whose text it gives in a License paragraph of their own.
copyright=$root/usr/share/doc/lautgarten/copyright
rows=$(awk 'BEGIN { RS = ""; FS = "\n" }
    { files = ""; licence = ""; text = 0; field = "" }
    { for (i = 1; i <= NF; ++i) {
          if ($i ~ /^[ \t]/) { if (field == "Files") files = files " " $i; else if (field == "License") text = 1; continue }
          field = $i; sub(/:.*/, "", field); value = $i; sub(/^[^:]*:[ \t]*/, "", value)
          if (field == "Files") files = value; else if (field == "License") licence = value
      }
      if (files != "") { n = split(files, p, /[ \t]+/); for (j = 1; j <= n; ++j) if (p[j] != "") print "F\t" p[j] "\t" licence }
      else if (licence != "" && text) print "L\t" licence }' "$copyright")
patterns=() licences=()
declare -A texts=()
while IFS=$'\t' read -r kind first second; do
    if [ "$kind" = F ]; then patterns+=("$first"); licences+=("$second"); else texts[$first]=1; fi
done <<<"$rows"
[ ${#patterns[@]} -gt 1 ] || fail "no Files paragraphs in the copyright file"

# The paragraph that rules a file is the last one whose pattern matches it.
ruling() {
    local i
    for ((i = ${#patterns[@]} - 1; i >= 0; --i)); do
        # A pattern's "[" is a plain character; for bash it would open a set.
        # shellcheck disable=SC2053 # the pattern is matched as a glob on purpose
        [[ $1 == ${patterns[i]//[/\\[} ]] && { echo "$i"; return; }
    done
    echo -1
}
real_licence() {
    local name
    [ -n "$1" ] || return 1
    for name in ${1// and / } ; do
        [ "$name" != and ] && [ -n "${texts[$name]:-}" ] || return 1
    done
}
check() { # SOURCE_PATH PATH_IN_QUELLEN
    local i
    i=$(ruling "$1")
    [ "$i" -ge 0 ] || fail "copyright: no Files paragraph covers $1"
    real_licence "${licences[i]}" || fail "copyright: $1 has no real licence (\"${licences[i]}\")"
    case $1 in
        *.txt) ;;
        # A picture falling through to "Files: *" would be credited to Lautgarten alone.
        *) [ "${patterns[i]}" != "*" ] || fail "copyright: $1 is covered only by Files: *"
           grep -qF -- "$2: " "$root/usr/lib/lautgarten/images/QUELLEN.txt" ||
               fail "images/QUELLEN.txt does not list $2" ;;
    esac
}
count=0
while IFS= read -r -d '' file; do
    relative=${file#"$root/usr/lib/lautgarten/images/"}
    check "images/$relative" "$relative"
    count=$((count + 1))
done < <(find "$root/usr/lib/lautgarten/images" -type f -print0)
for file in "$source_dir"/resources/pictures/*; do
    check "resources/pictures/${file##*/}" "${file##*/}"
done
# A name left over from a picture that is gone means the file was written from an older list.
for pattern in "${patterns[@]}"; do
    [[ $pattern == *[*?]* ]] && continue
    case $pattern in
        images/*) [ -e "$root/usr/lib/lautgarten/$pattern" ] ;;
        *) [ -e "$source_dir/$pattern" ] ;;
    esac || fail "copyright names $pattern, which does not exist: run tools/library/make-library"
done
echo "package passes lintian; $count files of its picture library and the window pictures are credited"
