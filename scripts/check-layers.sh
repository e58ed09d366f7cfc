#!/usr/bin/env bash
# The source layers depend one way: portable <- win32 <- plugin. Fails, naming
# the lines, when a file includes a layer above its own, or when the portable
# layer includes <windows.h>.
#   scripts/check-layers.sh SRC
set -euo pipefail
src=${1:-src}
bad=$(
  grep -rnE '#include +["<](win32/|plugin/|windows\.h)' "$src/portable" || true
  grep -rnE '#include +"plugin/' "$src/win32" || true
  grep -rnE '#include +"\.\./' "$src" || true
)
if [ -n "$bad" ]; then
  echo "check-layers: includes that reach a layer above their own:"
  echo "$bad"
  exit 1
fi
echo "check-layers: portable <- win32 <- plugin, nothing reaches up"
