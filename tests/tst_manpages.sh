#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Checks the built manual pages, German and English, as man shows them.
#   tst_manpages.sh BUILD_DIR
set -euo pipefail
build=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in man lexgrog groff; do
    command -v "$tool" >/dev/null || fail "$tool is missing: scripts/setup --with tests installs it"
done
export LC_ALL=C.UTF-8 MANWIDTH=80

for page in lautgarten.6 lautgarten-pruefen.1; do
    for language in de en; do
        file=$build/man/$language/$page.gz
        [ -s "$file" ] || fail "$file was not built"
        # Any complaint of groff (a bad macro, a line it cannot break, an unknown character) fails.
        warnings=$(man --warnings=w -E UTF-8 -l "$file" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man warns about $language/$page:"$'\n'"$warnings"
        # whatis and apropos read the NAME line; a broken one hides the page from them.
        lexgrog "$file" >/dev/null || fail "$language/$page: no whatis entry"
    done
    # The lists of exit codes, options and files are the same words in both languages; a value
    # in one page but not in the other means one of them was not brought up to date.
    items() { zcat "$build/man/$1/$page.gz" | sed -n '/^\.TP/{n;p}'; }
    [ "$(items de)" = "$(items en)" ] ||
        fail "$page: the German and English pages list different items:"$'\n'"$(diff <(items de) <(items en))"
done
echo "manual pages are free of warnings and agree in both languages"
