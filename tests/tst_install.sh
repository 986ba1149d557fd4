#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Installs the build into a temporary prefix and checks what a desktop expects of it: the
# program beside its picture library, links in bin, the desktop entry, the icons, the
# metainfo, a moved prefix that still works, and the Windows version record.
#   tst_install.sh BUILD_DIR PROJECT_VERSION DISPLAY_VERSION   (1.0.0.0 and 1.00)
set -euo pipefail
build=$1
numeric=${2//./, }
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/usr" >/dev/null
prefix=$work/usr
id=de.lautgarten.lautgarten

# The layout.
[ -x "$prefix/lib/lautgarten/lautgarten" ] || fail "program not in lib/lautgarten"
[ -x "$prefix/lib/lautgarten/lautgarten-pruefen" ] || fail "checker not in lib/lautgarten"
[ -f "$prefix/lib/lautgarten/images/buchstaben/sch.gif" ] || fail "picture library not beside the program"
[ -f "$prefix/lib/lautgarten/images/special/lachi.gif" ] || fail "faces missing"
for command in lautgarten lautgarten-pruefen; do
    [ "$(readlink "$prefix/bin/$command")" = "../lib/lautgarten/$command" ] ||
        fail "bin/$command is not a relative link into lib/lautgarten"
done
for size in 16 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x$size/apps/$id.png
    [ -f "$icon" ] || fail "icon $size missing"
    file "$icon" | grep -q "$size x $size" || fail "icon $size has the wrong size"
done
[ -f "$prefix/share/icons/hicolor/scalable/apps/$id.svg" ] || fail "scalable icon missing"

# The validators.
desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop entry"
grep -qx "Exec=lautgarten" "$prefix/share/applications/$id.desktop" || fail "Exec line"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$id.metainfo.xml" || fail "metainfo"
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/$id.metainfo.xml" || fail "metainfo release"

# A moved prefix keeps working, started from any folder: the checker finds the library beside
# the program and finds nothing wrong; the game starts and keeps running.
mv "$work/usr" "$work/moved"
prefix=$work/moved
(cd / && "$prefix/bin/lautgarten-pruefen") | grep -q "in Ordnung" || fail "checker after moving"
(cd / && QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/lautgarten" >/dev/null 2>&1) && fail "game ended early"
status=$?
[ $status -eq 124 ] || fail "game ended with $status instead of running on"

# The Windows version record compiles and carries the product, the version and German.
windres=x86_64-w64-mingw32-windres
"$windres" --preprocessor cpp "$build/lautgarten.rc" -O res -o "$work/version.res" || fail "windres"
record=$("$windres" -J res -i "$work/version.res" -O rc)
for expected in "FILEVERSION $numeric" "PRODUCTVERSION $numeric" 'VALUE "ProductName", "Lautgarten"' \
                'VALUE "InternalName", "Lautgarten"' "VALUE \"FileVersion\", \"$version\"" \
                "VALUE \"ProductVersion\", \"$version\"" 'BLOCK "040704b0"' \
                'VALUE "Translation", 0x407, 1200'; do
    grep -qiF "$expected" <<<"$record" || fail "version record lacks: $expected"
done
echo "install tree, validators, moved prefix and version record are fine"
