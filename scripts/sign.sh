#!/usr/bin/env bash
# Signs DLLs in place with Authenticode (SHA-256) through osslsigncode, with the
# certificate and key of a PKCS#12 file whose password is read from a file:
# never from the command line, so that it shows in no process list and no log.
#   SIGN_PKCS12=cert.p12 SIGN_PASSWORD_FILE=password.txt [SIGN_TIMESTAMP_URL=http://...] \
#     scripts/sign.sh check              (the certificate opens with the password)
#     scripts/sign.sh FILE...            (sign each file)
set -euo pipefail
fail() { echo "sign: $*" >&2; exit 1; }
p12=${SIGN_PKCS12:?}
[ -n "${SIGN_PASSWORD_FILE:-}" ] || fail "SIGN_PASSWORD_FILE is not set: the password comes only from a file"
[ -r "$p12" ] || fail "cannot read the certificate $p12"
[ -r "$SIGN_PASSWORD_FILE" ] || fail "cannot read the password file $SIGN_PASSWORD_FILE"

if [ "${1:-}" = check ]; then
  # openssl reads the password from the file; its own message could echo
  # nothing of it, but is replaced by ours anyway.
  openssl pkcs12 -in "$p12" -passin "file:$SIGN_PASSWORD_FILE" -nokeys -noout >/dev/null 2>&1 ||
    fail "cannot open $p12 with the password in $SIGN_PASSWORD_FILE (wrong password, or not a PKCS#12 file)"
  if [ -z "${SIGN_TIMESTAMP_URL:-}" ]; then
    echo "sign: no SIGN_TIMESTAMP_URL: the signature carries no timestamp and stops being valid" \
      "the day the certificate expires; FileMaker Pro will then warn about the plug-in again" >&2
  fi
  exit 0
fi

timestamp=()
[ -n "${SIGN_TIMESTAMP_URL:-}" ] && timestamp=(-ts "$SIGN_TIMESTAMP_URL")
for file in "$@"; do
  signed="$file.signed"
  rm -f "$signed"
  osslsigncode sign -pkcs12 "$p12" -readpass "$SIGN_PASSWORD_FILE" -h sha256 -n Lullex "${timestamp[@]}" \
    -in "$file" -out "$signed" >/dev/null 2>&1 || {
    rm -f "$signed"
    fail "osslsigncode could not sign $(basename "$file")${SIGN_TIMESTAMP_URL:+ (is $SIGN_TIMESTAMP_URL reachable?)}"
  }
  mv "$signed" "$file"
  echo "sign: $(basename "$file") signed${SIGN_TIMESTAMP_URL:+ and timestamped}"
done
