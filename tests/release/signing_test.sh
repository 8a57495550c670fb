#!/usr/bin/env bash
# Signed Windows files: scripts/package-windows runs on a copy of this source with a
# throwaway self-signed code-signing certificate that openssl makes. osslsigncode must
# accept every Tornevo.exe (in each zip and each installer) and every installer against
# that certificate; the signed 64-bit program must still start under Wine and end with
# Alt+X (the smoke test); and a file changed after signing must fail the check. A signature
# that does not verify stops the build before anything reaches build/dist/.
# Usage: signing_test.sh SOURCE-DIR WINE-RUN WITH-WINDOW-MANAGER
set -euo pipefail
source "$(dirname "$0")/release_test.sh"

cd "$work"
export TORNEVO_SIGN_PKCS12=$work/signer.p12 TORNEVO_SIGN_PASSWORD_FILE=$work/password TORNEVO_SIGN_CA_FILE=$work/signer.pem
openssl rand -hex 16 > password
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tornevo test signer" -keyout signer.key \
    -out signer.pem -addext keyUsage=digitalSignature -addext extendedKeyUsage=codeSigning 2>/dev/null
openssl pkcs12 -export -inkey signer.key -in signer.pem -out signer.p12 -passout file:password

copy_source "$1" source
# Checked against a certificate that did not sign them, the signatures fail: build/dist
# keeps what it held, and nothing half made is left beside it.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Someone else" -keyout other.key -out other.pem 2>/dev/null
mkdir -p source/build/dist && echo "an earlier release" > source/build/dist/earlier.txt
! (cd source && TORNEVO_SIGN_CA_FILE=$work/other.pem scripts/package-windows) > failed.log 2>&1 ||
    fail "scripts/package-windows went on after a signature failed its check"
grep -q "^the signature of Tornevo.exe does not verify" failed.log || { cat failed.log; fail "no word of the failed check"; }
[[ $(ls -A source/build/dist) == earlier.txt && -z $(find source/build -maxdepth 1 -name 'dist.*') ]] ||
    fail "after the failure: build/dist holds $(ls -A source/build/dist | xargs), beside it $(ls source/build | xargs)"
echo "ok: a signature that fails its check stops the build; build/dist is left as it was"

(cd source && scripts/package-windows) > package.log 2>&1 || { cat package.log; fail "scripts/package-windows failed"; }
! grep -q '^unsigned' package.log || fail "it says unsigned although a certificate is given"
(cd source/build/dist && sha256sum --check --strict --quiet SHA256SUMS && [[ $(cut -c 67- SHA256SUMS) == $(ls | grep -vx SHA256SUMS) ]]) ||
    fail "SHA256SUMS does not list the files of build/dist: $(ls source/build/dist | xargs)"

verified() { # file: osslsigncode accepts its SHA-256 signature by the test's certificate
    osslsigncode verify -CAfile signer.pem -in "$1" > verify.log 2>&1 &&
        grep -q '^Message digest algorithm *: SHA256' verify.log && grep -q 'Subject: /CN=Tornevo test signer' verify.log
}
for file in source/build/dist/*.{zip,msi}; do
    case $file in
        *.zip) unzip -q "$file" Tornevo.exe -d "${file##*/}" ;;
        *.msi) msiextract -C "${file##*/}" "$file" >/dev/null && signed+=("$file") ;;
    esac
    signed+=("$(find "${file##*/}" -name Tornevo.exe)")
done
((${#signed[@]} >= 4)) || fail "found only ${signed[*]}" # two zips, an installer and its program
for file in "${signed[@]}"; do
    verified "$file" || { cat verify.log; fail "osslsigncode does not accept $file"; }
done
echo "ok: osslsigncode accepts the SHA-256 signatures of ${signed[*]}"

x64=$(ls "$work"/tornevo-*-windows-x64.zip/Tornevo.exe)
"$3" "$1/tests/smoke/windows_smoke_test.sh" "$2" "$x64" screenshot.png || fail "the signed Tornevo.exe fails the smoke test"
echo "ok: the signed Tornevo.exe starts under Wine and ends with Alt+X"

# Changes after signing: eight bytes in the middle of the program's code; one value in the
# installer's tables, changed through msitools as a repackager would.
cp "$x64" changed.exe
printf 'CHANGED!' | dd of=changed.exe bs=1 seek=$(($(stat -c %s "$x64") / 2)) conv=notrunc status=none
cp source/build/dist/*-x64.msi changed.msi
msibuild changed.msi -q "UPDATE Property SET Value = 'Someone else' WHERE Property = 'Manufacturer'"
for file in changed.exe changed.msi; do
    ! verified "$file" || fail "osslsigncode accepts $file, changed after signing"
    grep -q MISMATCH verify.log || { cat verify.log; fail "no mismatch reported for $file"; }
done
echo "ok: a program or an installer changed after signing fails the check"
