#!/usr/bin/env bash
# The archive and the installer of a 64-bit or 32-bit Tornevo.exe, the installer run in a
# fresh Wine prefix of that architecture (a 32-bit one, as 32-bit Windows is) on a private
# X server: a silent upgrade, what went where, the installed program's window and Alt+X,
# and a silent uninstall that leaves nothing. In the 64-bit prefix, one Tornevo per PC:
# the x64 and x86 installers in either order, and each newer over the other's older.
# Usage: installer_test.sh SOURCE-DIR path/to/Tornevo.exe BUILD-DIR
set -euo pipefail
[[ ${IN_XVFB:-} ]] || IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24 -noreset" "$0" "$@"
unset "${!TORNEVO_SIGN_@}" # a developer's real certificate never signs a test's installer
package=$1/scripts/package-windows program=$2 work=$(mktemp -d) started=$SECONDS
trap 'kill $(jobs -p) 2>/dev/null; WINEPREFIX=$work/prefix wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

version=$("$package" version "$3")
source "$3/identity/identity.sh" # the company the installer names
case $(file -b "$program") in
    *x86-64*) bits=64 ;;
    *80386*) bits=32 ;;
    *) fail "$program is not a Windows program for x86 or x86-64" ;;
esac
"$package" zip "$program" "$version" "$work/tornevo.zip"
unzip -q "$work/tornevo.zip" -d "$work/zip"
[[ $(ls "$work/zip" | xargs) == "LICENSE.txt README.txt Tornevo.exe" ]] || fail "zip: $(ls "$work/zip")"
[[ $(head -n 1 "$work/zip/README.txt") == "Tornevo $version for $bits-bit Windows"$'\r' ]] || fail "README.txt"

"$package" msi "$program" "$version" "$work/tornevo.msi"
"$package" msi "$program" 0.9.0 "$work/older.msi"
code=$(msiinfo export "$work/tornevo.msi" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p')

# No Mono or Gecko (their installers would ask), no menu entries on this machine's desktop.
export WINEPREFIX=$work/prefix WINEARCH=win$bits WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine wineboot --init >/dev/null 2>&1 && wineserver --wait
# Success is status 0 alone: 3010 would mean that Windows must restart.
msiexec() { wine msiexec "$@" >/dev/null 2>&1 || fail "msiexec $* gave status $?"; }
# The registry view of the installer's architecture: /usr/bin/wine starts the 32-bit reg.exe
# where wine32 is installed, and that one sees the 32-bit view of a 64-bit prefix.
reg_query() { wine reg query "$@" "/reg:$bits" 2>/dev/null | tr -d '\r'; }
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
leftovers() { # in each registry view of the prefix
    find "$WINEPREFIX/drive_c" -iname '*tornevo*'
    for view in $bits 32; do wine reg query 'HKLM\Software' /s "/reg:$view" 2>/dev/null | grep -i tornevo; done
}

msiexec /i "$work/older.msi" /qn
msiexec /i "$work/tornevo.msi" /qn
entries=$(reg_query "$uninstall" | grep 'Uninstall\\.')
[[ $entries == *"\\$code" && $entries != *$'\n'* ]] || fail "uninstall entries: $entries"
for expected in "DisplayName=Tornevo" "DisplayVersion=$version" "Publisher=$TORNEVO_COMPANY" \
    "UninstallString=MsiExec.exe /X$code"; do
    [[ $(reg_query "$uninstall\\$code" /v "${expected%%=*}") == *"    ${expected#*=}"* ]] || fail "$expected"
done
# Windows Installer keeps the icon for the entry (ProductIcon) and the shortcut.
icon='C:\windows\Installer\'$code'\tornevo.ico'
[[ $(reg_query 'HKLM\Software\Classes\Installer\Products' /s) == *"ProductIcon    REG_SZ    $icon"* ]] || fail "entry icon"
cmp "$WINEPREFIX/drive_c/Program Files/Tornevo/Tornevo.exe" "$work/zip/Tornevo.exe"
# Windows puts a per-machine shortcut in the all-users Start menu, Wine 8 in the user's.
link=$(find "$WINEPREFIX/drive_c" -path '*/Start Menu/Programs/Tornevo.lnk')
[[ $(strings -a "$link"; strings -a -el "$link") == *'C:\Program Files\Tornevo\Tornevo.exe'*"$icon"* ]] || fail "shortcut '$link'"
echo "ok: silent install of $version over 0.9.0; one entry, its fields, the program, the shortcut, the icons"

openbox >/dev/null 2>&1 & # a window manager, for the focus; a busy machine may take a while to start it
for _ in $(seq 100); do
    [[ $(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) == *"window id"* ]] && break
    sleep 0.1
done
wine 'C:\Program Files\Tornevo\Tornevo.exe' >/dev/null 2>&1 & app=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^RCF/RPM Conversion$' | head -n 1) \
    || fail "no window titled 'RCF/RPM Conversion'"
xdotool windowactivate --sync "$window" key --clearmodifiers alt+x
timeout 10 tail --pid="$app" -f /dev/null || fail "Alt+X did not end the installed program"
wait "$app" || fail "the installed program ended with status $?"
echo "ok: the installed program shows its window; Alt+X ends it with status 0"

[[ $(leftovers) ]] || fail "the search for leftovers finds nothing even before uninstalling"
msiexec /x "$code" /qn # as the entry's UninstallString does
[[ -z $(leftovers) ]] || fail "left after uninstalling: $(leftovers)"
echo "ok: silent uninstall leaves no file, shortcut or registry key"
((bits == 64)) || { echo "took $((SECONDS - started)) s"; exit 0; }

# One Tornevo per PC in 64-bit Windows. The x86 installer is built around a small 32-bit
# program that stands in for the x86 build's Tornevo.exe (not built here): what the
# installers replace does not depend on the program they carry.
mkdir -p "$work/x86"
cp -r "$3/identity" "$work/x86"
echo 'int main(void) { return 0; }' > "$work/x86/main.c"
i686-w64-mingw32-gcc -mwindows -o "$work/x86/Tornevo.exe" "$work/x86/main.c"
"$package" msi "$work/x86/Tornevo.exe" "$version" "$work/x86.msi"
"$package" msi "$work/x86/Tornevo.exe" 0.9.0 "$work/x86-older.msi"
declare -A msi=([x64 $version]=$work/tornevo.msi [x64 0.9.0]=$work/older.msi
    [x86 $version]=$work/x86.msi [x86 0.9.0]=$work/x86-older.msi)

# Sets now to the installed Tornevo, "x64 1.0.0" (the view of its entry in Apps & features,
# its DisplayVersion) or "none", and code to its product code, after printing the counts:
# the entries in each registry view, the shortcuts and the program folders. Fails unless
# there is one of each, or none at all.
installed() {
    local view line key keys=() views=() arch=() shortcuts folders folder
    for view in 64 32; do
        while read -r line; do
            [[ $line != HKEY_* ]] || key=$line
            [[ $line != "DisplayName    REG_SZ    Tornevo" ]] || { keys+=("$key") && views+=("$view") && arch+=("x${view/32/86}"); }
        done < <(wine reg query "$uninstall" /s "/reg:$view" 2>/dev/null | tr -d '\r' | sed 's/^ *//')
    done
    shortcuts=$(find "$WINEPREFIX/drive_c" -path '*/Start Menu/Programs/Tornevo.lnk' | wc -l)
    folders=$(cd "$WINEPREFIX/drive_c" && find "Program Files" "Program Files (x86)" -maxdepth 1 -iname tornevo | xargs -r)
    echo "  entries: $(grep -ow 64 <<<"${views[*]:-}" | wc -l) in the 64-bit view, $(grep -ow 32 <<<"${views[*]:-}" | wc -l)" \
        "in the 32-bit view; shortcuts: $shortcuts; folders: ${folders:-none}"
    now=none code=
    if ((${#keys[@]} == 0)); then
        ((shortcuts == 0)) && [[ -z $folders ]] || fail "no entry, but $shortcuts shortcuts and folders ${folders:-none}"
        return
    fi
    folder="Program Files/Tornevo"
    [[ ${arch[0]} == x64 ]] || folder="Program Files (x86)/Tornevo"
    ((${#keys[@]} == 1 && shortcuts == 1)) && [[ $folders == "$folder" ]] ||
        fail "${#keys[@]} entries, $shortcuts shortcuts, folders $folders"
    code=${keys[0]##*\\}
    now="${arch[0]} $(wine reg query "${keys[0]}" /v DisplayVersion "/reg:${views[0]}" 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p')"
}
# Each step: what msiexec does, and what is installed after it. A refused installer
# (an older version over a newer) ends with a status other than 0 and changes nothing.
steps=(
    "install x64 $version|x64 $version"
    "install x86 $version|x86 $version"
    "install x64 $version|x64 $version"
    "uninstall|none"
    "install x86 0.9.0|x86 0.9.0"
    "install x64 $version|x64 $version"
    "uninstall|none"
    "install x64 0.9.0|x64 0.9.0"
    "install x86 $version|x86 $version"
    "refuse x64 0.9.0|x86 $version"
    "uninstall|none"
)
for step in "${steps[@]}"; do
    action=${step%%|*} expected=${step#*|}
    case $action in
        install*) msiexec /i "${msi[${action#install }]}" /qn ;;
        refuse*) ! wine msiexec /i "${msi[${action#refuse }]}" /qn >/dev/null 2>&1 || fail "$action was installed" ;;
        uninstall) msiexec /x "$code" /qn ;;
    esac
    echo "after $action:"
    installed
    [[ $now == "$expected" ]] || fail "after $action: $now installed, not $expected"
done
[[ -z $(leftovers) ]] || fail "left after the last uninstall: $(leftovers)"
echo "ok: one Tornevo per PC, whichever installer came last; took $((SECONDS - started)) s"
