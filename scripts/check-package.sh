#!/usr/bin/env bash
# Checks the release package as a user would: unpacks it, checks the sums, and
# loads the packaged plug-in (Lullex.fmx or Lullex.fmx64) in the host stand-in
# of its build under Wine to ask its version. Runs inside a Wine session (the
# tests' own).
#   scripts/check-package.sh DIST_FOLDER HOST_EXE PLUGIN_FILE
set -euo pipefail
dist=$1
host=$2
plugin=$3
top=$(cd "$(dirname "$0")/.." && pwd)
fail() { echo "check-package: $*" >&2; exit 1; }
version_part() { sed -n "s/^#define LULLEX_VERSION_$1 \([0-9]*\)$/\1/p" "$top/src/resources/Version.h"; }
version="$(version_part MAJOR).$(version_part MINOR)$(version_part PATCH)"

zip="$dist/Lullex-$version.zip"
[ -f "$zip" ] || fail "no $zip (make dist builds it)"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unzip -q "$zip" -d "$tmp"
listed=$(cd "$tmp" && ls | sort | tr '\n' ' ')
[ "$listed" = "CHANGES Lullex-Guide.html Lullex.fmx Lullex.fmx64 SHA256SUMS " ] || fail "unexpected contents: $listed"
(cd "$tmp" && sha256sum --quiet -c SHA256SUMS) || fail "a checksum does not match"
grep -q "<img src=\"data:image/png;base64," "$tmp/Lullex-Guide.html" || fail "the guide's images are not embedded"
if grep -qE 'src="(docs|http)' "$tmp/Lullex-Guide.html"; then fail "the guide refers to files outside itself"; fi

printf 'init\ncall Lulx-Version\nquit\n' >"$tmp/script.txt"
win() { echo "Z:$(tr / '\\' <<<"$1")"; }
out=$(wine "$host" --plugin "$(win "$tmp/$plugin")" --timeout 30000 --script "$(win "$tmp/script.txt")" 2>&1)
grep -qE "call Lulx[-_]Version\(\"\"\) -> reply \"Lullex v$version\"" <<<"$out" || fail "the packaged $plugin did not answer its version: $out"
echo "check-package: $(basename "$zip"): 5 files, sums match, the packaged $plugin answers \"Lullex v$version\""
