#!/usr/bin/env bash
# Reproducible release files: scripts/package runs on two copies of this source in two
# temporary folders, the second one later, under another umask and time zone, and after
# a build of uncommitted changes, marked dirty, as of an older commit (a day before) in the
# same folder, whose refusal without TORNEVO_ALLOW_DIRTY=1 it checks first. Both
# build/dist/ folders must hold the release files and SHA256SUMS alone, the sums must hold,
# and every file must have the same bytes in both. On a mismatch it shows what differs:
# diffoscope's report where Debian's diffoscope is installed, else a listing of each file's
# members with their hashes, modes and times, the two side by side.
# Usage: reproducible_test.sh SOURCE-DIR
set -euo pipefail
source "$(dirname "$0")/release_test.sh"

package() { # folder umask time-zone
    (umask "$2" && cd "$work/$1" && TZ=$3 scripts/package) > "$work/package.log" 2>&1 ||
        { cat "$work/package.log"; fail "scripts/package failed in $work/$1"; }
    [[ $(grep -c '^unsigned: ' "$work/package.log") == 1 ]] || fail "no one line saying the files are unsigned"
    # build/dist: the release files, each listed in SHA256SUMS with its right hash, and nothing else.
    cd "$work/$1/build/dist"
    [[ $(ls -A | grep -vxE 'tornevo_.*\.deb|tornevo-.*-web\.zip|tornevo-.*-windows-x(64|86)\.(zip|msi)|SHA256SUMS') == "" &&
        $(cut -c 67- SHA256SUMS) == $(ls | grep -vx SHA256SUMS) ]] || fail "build/dist holds $(ls -A | xargs)"
    sha256sum --check --strict --quiet SHA256SUMS || fail "SHA256SUMS does not hold"
    [[ -z $(find .. -maxdepth 1 -name 'dist.*') ]] || fail "left beside build/dist: $(find .. -maxdepth 1 -name 'dist.*')"
}
copy_source "$1" "$work/first"
package first 022 UTC
copy_source "$1" "$work/second/of/two"
# That folder is a git checkout of the source, where a release comes from a commit. With
# a change to a tracked file scripts/package refuses in one line and builds nothing.
cd "$work/second/of/two"
git init -q && git add -A && git -c user.name=Tornevo -c user.email=test@example.com commit -q -m source
echo "A change not committed." >> README.md
! scripts/package > "$work/refusal.log" 2>&1 || fail "scripts/package packaged uncommitted changes"
[[ $(wc -l < "$work/refusal.log") == 1 && $(< "$work/refusal.log") == "refusing to package uncommitted changes"* ]] ||
    fail "not one line of refusal: $(cat "$work/refusal.log")"
[[ ! -e build/dist ]] || fail "the refusal made build/dist"
echo "ok: uncommitted changes refused: $(< "$work/refusal.log")"
# On request it builds them, as for an older commit, a day before: the mark is in every
# file name and version field, and nothing of that build may stay in the next one.
TORNEVO_ALLOW_DIRTY=1 SOURCE_DATE_EPOCH=$((SOURCE_DATE_EPOCH - 86400)) package second/of/two 002 Pacific/Auckland
for file in *; do
    [[ $file == SHA256SUMS || $file == *"~dirty"* ]] || fail "$file: no mark in its name"
    case $file in
        *.deb) fields=$(dpkg-deb -f "$file" Version) ;;
        *-windows-*.zip) # the README's title and the program's FileVersion and ProductVersion
            fields=$(unzip -p "$file" README.txt | head -n 1
                unzip -p "$file" Tornevo.exe | strings -el | grep -A 1 -xE 'FileVersion|ProductVersion' | grep -vxE 'FileVersion|ProductVersion|--') ;;
        *.msi) fields=$(msiinfo suminfo "$file" | grep '^Subject') ;;
        *) continue ;;
    esac
    [[ $(grep -vc '~dirty' <<<"$fields") == 0 ]] || fail "$file: a version without its mark: $fields"
done
echo "ok: with TORNEVO_ALLOW_DIRTY=1, $(ls | grep -vxc SHA256SUMS) files marked ~dirty in their names and version fields"
cd "$work/second/of/two" && git checkout -q README.md
package second/of/two 002 Pacific/Auckland
cd "$work"
# What a person compares when diffoscope is not there: each member's hash, mode and time.
listing() { # release file
    local unpacked
    unpacked=$(mktemp -d -p "$work")
    case $1 in
        *.deb) ar tv "$1"; dpkg-deb -c "$1"; dpkg-deb -I "$1"; dpkg-deb -R "$1" "$unpacked/deb" ;;
        *.zip) zipinfo -v "$1" | tail -n +2; unzip -q "$1" -d "$unpacked" ;;
        *.msi) msiinfo suminfo "$1"; msidump -t -s -d "$unpacked" "$1" >/dev/null ;;
    esac
    (cd "$unpacked" && find . -type f | LC_ALL=C sort | xargs -r -d '\n' sha256sum)
    find "$unpacked" -iname '*.exe' -exec x86_64-w64-mingw32-objdump -p {} + | grep -E '^(Time/Date|CheckSum)'
}

sums=first/build/dist/SHA256SUMS other=second/of/two/build/dist/SHA256SUMS
[[ $(cut -c 67- "$sums") == $(cut -c 67- "$other") ]] || fail "the two builds made different files"
printf '%-36s %-64s %s\n' file "first build" "second build"
LC_ALL=C join -j 2 "$sums" "$other" | awk '{ printf "%-36s %s %s\n", $1, $2, ($2 == $3 ? "same" : $3) }'
differing=
for name in $(cut -c 67- "$sums"); do
    a=first/build/dist/$name b=second/of/two/build/dist/$name
    cmp -s "$a" "$b" && continue
    differing+=" $name"
    echo "== $name differs between the two builds:"
    if command -v diffoscope >/dev/null; then
        diffoscope --text - "$a" "$b" | head -n 300 || true
    else
        diff --side-by-side --suppress-common-lines --width 200 <(listing "$a") <(listing "$b") | head -n 200 || true
    fi
done
[[ -z $differing ]] || fail "not reproducible:$differing"
echo "ok: two builds, in $work/first and $work/second/of/two, give the same $(wc -l < "$sums") release files"
