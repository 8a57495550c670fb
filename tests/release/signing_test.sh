#!/usr/bin/env bash
# Signed Windows files: scripts/package-windows runs on a copy of this source with a
# throwaway self-signed code-signing certificate that openssl makes. osslsigncode must
# accept every Tornevo.exe (in each zip and each installer) and every installer against
# that certificate; the signed 64-bit program must still start under Wine and end with
# Alt+X (the smoke test); and a file changed after signing must fail the check.
# Usage: signing_test.sh SOURCE-DIR WINE-RUN WITH-WINDOW-MANAGER
set -euo pipefail
source "$(dirname "$0")/copy_source.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$1" log -1 --format=%ct)}

certificate=$work/signer.pem
export TORNEVO_SIGN_PKCS12=$work/signer.p12 TORNEVO_SIGN_PASSWORD_FILE=$work/password
openssl rand -hex 16 > "$TORNEVO_SIGN_PASSWORD_FILE"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tornevo test signer" \
    -addext keyUsage=digitalSignature -addext extendedKeyUsage=codeSigning \
    -keyout "$work/signer.key" -out "$certificate" 2>/dev/null
openssl pkcs12 -export -inkey "$work/signer.key" -in "$certificate" -out "$TORNEVO_SIGN_PKCS12" \
    -passout "file:$TORNEVO_SIGN_PASSWORD_FILE"

copy_source "$1" "$work/source"
(cd "$work/source" && scripts/package-windows) > "$work/package.log" 2>&1 ||
    { cat "$work/package.log"; fail "scripts/package-windows failed"; }
! grep -q '^unsigned' "$work/package.log" || fail "it says unsigned although a certificate is given"
dist=$work/source/build/dist
(cd "$dist" && sha256sum --check --strict --quiet SHA256SUMS) || fail "SHA256SUMS does not hold"

verified() { # file: osslsigncode accepts its SHA-256 signature by the test's certificate
    osslsigncode verify -CAfile "$certificate" -in "$1" > "$work/verify.log" 2>&1 &&
        grep -q '^Message digest algorithm *: SHA256' "$work/verify.log" &&
        grep -q 'Subject: /CN=Tornevo test signer' "$work/verify.log"
}
signed=()
for zip in "$dist"/*.zip; do
    unzip -q "$zip" Tornevo.exe -d "$work/${zip##*/}" && signed+=("$work/${zip##*/}/Tornevo.exe")
done
for msi in "$dist"/*.msi; do
    msiextract -C "$work/${msi##*/}" "$msi" >/dev/null
    signed+=("$msi" "$(find "$work/${msi##*/}" -name Tornevo.exe)")
done
((${#signed[@]} >= 4)) || fail "found only ${signed[*]}" # two zips, an installer and its program
for file in "${signed[@]}"; do
    verified "$file" || { cat "$work/verify.log"; fail "osslsigncode does not accept $file"; }
done
echo "ok: osslsigncode accepts the SHA-256 signatures of ${#signed[@]} files: ${signed[*]#"$work/"}"

x64=$(ls "$work"/tornevo-*-windows-x64.zip/Tornevo.exe)
"$3" "$1/tests/smoke/windows_smoke_test.sh" "$2" "$x64" "$work/screenshot.png" ||
    fail "the signed Tornevo.exe does not pass the smoke test"
echo "ok: the signed Tornevo.exe starts under Wine and ends with Alt+X"

# Changes after signing: eight bytes in the middle of the program's code; one value in the
# installer's tables, changed through msitools as a repackager would.
cp "$x64" "$work/changed.exe"
printf 'CHANGED!' | dd of="$work/changed.exe" bs=1 seek=$(($(stat -c %s "$x64") / 2)) conv=notrunc status=none
msi=$(ls "$dist"/*-x64.msi)
cp "$msi" "$work/changed.msi"
msibuild "$work/changed.msi" -q "UPDATE Property SET Value = 'Someone else' WHERE Property = 'Manufacturer'"
for pair in "$x64 $work/changed.exe" "$msi $work/changed.msi"; do
    original=${pair% *} changed=${pair#* }
    ! cmp -s "$original" "$changed" || fail "$changed is the same as $original"
    ! verified "$changed" || fail "osslsigncode accepts $changed, changed after signing"
    grep -q MISMATCH "$work/verify.log" || { cat "$work/verify.log"; fail "no mismatch reported for $changed"; }
done
echo "ok: a program or an installer changed after signing fails the check"
