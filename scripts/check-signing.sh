#!/usr/bin/env bash
# The signed release, with no network: a throwaway CA and code-signing
# certificate made here with openssl, make's dist signing both DLLs with them,
# the signatures verified against that CA, one changed byte refused, the signed
# Lullex.fmx64 loaded in the stand-in, and the password nowhere in the log or
# the zip. A wrong password stops dist before any package exists. The plug-ins
# come from BUILD's trees, which are left as they are. Runs inside a 64-bit Wine
# session (the tests' own).
#   scripts/check-signing.sh BUILD WORK_FOLDER HOST_EXE
set -euo pipefail
build=$(realpath -m "$1")
work=$(realpath -m "$2")
host=$3
top=$(cd "$(dirname "$0")/.." && pwd)
fail() { echo "check-signing: $*" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work/ca"
cd "$work/ca"

# The CA, and a code-signing certificate it issues; the key in a PKCS#12 file.
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=Lullex Test CA" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Lullex Test Publisher" 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >signer.ext
openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out signer.pem -days 2 \
  -extfile signer.ext 2>/dev/null
password=$(openssl rand -hex 16)
printf '%s' "$password" >password.txt
openssl pkcs12 -export -in signer.pem -inkey signer.key -out signer.p12 -passout file:password.txt
printf 'not-%s' "$password" >wrong.txt

# Signing works on the package's copies: the trees' plug-ins, which the other
# tests load, stay unsigned.
tree_sums=$(sha256sum "$build/win32/Lullex.fmx" "$build/win64/Lullex.fmx64")

# A wrong password: a clear message, no package.
if SIGN_PKCS12=signer.p12 SIGN_PASSWORD_FILE=wrong.txt "$top/scripts/dist.sh" "$build" "$work/wrong" >"$work/wrong.log" 2>&1; then
  fail "dist went on with a wrong password"
fi
grep -q "cannot open .*signer.p12 with the password" "$work/wrong.log" || fail "no clear message: $(cat "$work/wrong.log")"
[ ! -e "$work/wrong/dist" ] || fail "a wrong password left $(ls -R "$work/wrong/dist")"

# The package, signed; without a timestamp URL it says what that means.
SIGN_PKCS12=signer.p12 SIGN_PASSWORD_FILE=password.txt "$top/scripts/dist.sh" "$build" "$work/signed" >"$work/dist.log" 2>&1 ||
  fail "dist failed: $(cat "$work/dist.log")"
grep -q "stops being valid the day the certificate expires" "$work/dist.log" || fail "no word on the missing timestamp"
zip=$(ls "$work"/signed/dist/Lullex-*.zip)
mkdir "$work/unpacked"
unzip -q "$zip" -d "$work/unpacked"
cd "$work/unpacked"
sha256sum --quiet -c SHA256SUMS || fail "SHA256SUMS does not cover the signed DLLs"
for dll in Lullex.fmx Lullex.fmx64; do
  osslsigncode verify -CAfile "$work/ca/ca.pem" -in "$dll" >"$work/verify-$dll.log" 2>&1 ||
    fail "$dll does not verify: $(tail -n 5 "$work/verify-$dll.log")"
  grep -q "Signature verification: ok" "$work/verify-$dll.log" || fail "$dll: $(tail -n 5 "$work/verify-$dll.log")"
  "$top/scripts/check-pe.sh" "$dll" >/dev/null || fail "$dll fails the PE check once signed"
  # One byte changed in the code: the signature must no longer hold.
  cp "$dll" "$work/tampered-$dll"
  offset=$((0x600))
  byte=$(od -An -tu1 -j "$offset" -N1 "$dll" | tr -d ' ')
  printf "$(printf '\\%03o' $(((byte + 1) % 256)))" | dd of="$work/tampered-$dll" bs=1 seek="$offset" conv=notrunc 2>/dev/null
  if osslsigncode verify -CAfile "$work/ca/ca.pem" -in "$work/tampered-$dll" >"$work/tampered-$dll.log" 2>&1; then
    fail "$dll with one changed byte still verifies"
  fi
  grep -q "MISMATCH" "$work/tampered-$dll.log" || fail "$dll changed: refused, but not for its digest"
done

[ "$(sha256sum "$build/win32/Lullex.fmx" "$build/win64/Lullex.fmx64")" = "$tree_sums" ] ||
  fail "signing changed the build trees' plug-ins"

# Signed, Lullex.fmx64 still loads and answers in the stand-in of today's FileMaker.
printf 'init\ncall Lulx-Version\nquit\n' >"$work/script.txt"
win() { echo "Z:$(tr / '\\' <<<"$1")"; }
out=$(wine "$host" --plugin "$(win "$work/unpacked/Lullex.fmx64")" --timeout 30000 --script "$(win "$work/script.txt")" 2>&1)
grep -qE 'call Lulx_Version\(""\) -> reply "Lullex v' <<<"$out" || fail "the signed Lullex.fmx64 did not answer: $out"

# The password: in no log and in no file of the package.
if grep -rqaF "$password" "$work/dist.log" "$work/wrong.log" "$work/unpacked" "$zip"; then
  fail "the password shows in the log or the package"
fi
echo "check-signing: both DLLs signed and verified against the test CA, a changed byte refused," \
  "the signed Lullex.fmx64 answers, the password in no log or package, a wrong password stops dist"
