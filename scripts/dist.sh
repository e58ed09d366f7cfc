#!/usr/bin/env bash
# Packages the release from the build trees of make build (BUILD/win32 and
# BUILD/win64, which must hold the plug-ins):
#   OUT/dist/Lullex-<version>.zip with Lullex.fmx (every 32-bit FileMaker Pro, 5
#   to 18), Lullex.fmx64 (64-bit FileMaker Pro), the guide as one HTML page,
#   CHANGES and SHA256SUMS. OUT is BUILD unless given.
# The version comes from src/resources/Version.h. Time stamps, file order and
# modes are fixed, so the same commit gives the same bytes.
# With SIGN_PKCS12 (and SIGN_PASSWORD_FILE, SIGN_TIMESTAMP_URL: scripts/sign.sh)
# both DLLs are signed before the sums are taken. A failure leaves no package.
#   scripts/dist.sh BUILD [OUT]
set -euo pipefail
build=$(realpath -m "$1")
out=$(realpath -m "${2:-$1}")
top=$(cd "$(dirname "$0")/.." && pwd)
version_part() { sed -n "s/^#define LULLEX_VERSION_$1 \([0-9]*\)$/\1/p" "$top/src/resources/Version.h"; }
version="$(version_part MAJOR).$(version_part MINOR)$(version_part PATCH)"
[ "$version" != "." ] || { echo "dist: no version in src/resources/Version.h" >&2; exit 1; }
plugins=("$build/win32/Lullex.fmx" "$build/win64/Lullex.fmx64")
for plugin in "${plugins[@]}"; do
  [ -f "$plugin" ] || { echo "dist: no $plugin (make dist builds it)" >&2; exit 1; }
done

dist="$out/dist"
stage="$dist/Lullex-$version"
rm -rf "$dist"
trap 'status=$?; [ $status -eq 0 ] || rm -rf "$dist"; exit $status' EXIT
signing=""
if [ -n "${SIGN_PKCS12:-}" ]; then
  # Paths as given from where make was called; the certificate is checked before the build.
  export SIGN_PKCS12=$(realpath -m "$SIGN_PKCS12")
  [ -z "${SIGN_PASSWORD_FILE:-}" ] || export SIGN_PASSWORD_FILE=$(realpath -m "$SIGN_PASSWORD_FILE")
  "$top/scripts/sign.sh" check
  signing=yes
fi
mkdir -p "$stage"
cp "${plugins[@]}" "$stage/"
[ -z "$signing" ] || "$top/scripts/sign.sh" "$stage/Lullex.fmx" "$stage/Lullex.fmx64"
/usr/bin/python3 "$top/scripts/guide.py" "$top/README.md" "$stage/Lullex-Guide.html" "$version"
cp "$top/CHANGES" "$stage/CHANGES"
files=(Lullex.fmx Lullex.fmx64 Lullex-Guide.html CHANGES)
(cd "$stage" && sha256sum "${files[@]}" >SHA256SUMS)
files+=(SHA256SUMS)

# The commit's own time, so that a rebuild of it matches byte for byte.
stamp=$(TZ=UTC git -C "$top" log -1 --format=%cd --date=format-local:%Y%m%d%H%M.%S 2>/dev/null || echo 200611280000.00)
for f in "${files[@]}"; do
  chmod 644 "$stage/$f"
  TZ=UTC touch -t "$stamp" "$stage/$f"
done
(cd "$stage" && TZ=UTC zip -X -q -9 "$dist/Lullex-$version.zip" "${files[@]}")
echo "dist: $dist/Lullex-$version.zip"
(cd "$stage" && sha256sum "${files[@]}" | sed 's/^/dist:   /')
