#!/usr/bin/env bash
# The source layers depend one way: portable <- win32 <- plugin, and so do the
# rooms inside them: in portable, text <- engine; in win32, the guard's state
# (WorkstationGuard.h, types only) <- system <- input <- watch <- commit <- lock <- guard.
# Fails, naming the lines, when a file includes a layer or room above its own,
# when the portable layer includes <windows.h>, or when a portable header
# declares a function that src/win32 defines (the key port, KeyPort.h, is the
# one way out); and when anything but win32/system/SystemLibrary loads a library.
#   scripts/check-layers.sh SRC
set -euo pipefail
src=${1:-src}
bad=$(
  grep -rnE '#include +["<](win32/|plugin/|windows\.h)' "$src/portable" || true
  grep -rnE '#include +"plugin/' "$src/win32" || true
  grep -rnE '#include +"\.\./' "$src" || true
  grep -rnE '#include +"portable/engine/' "$src/portable/text" || true
  grep -nE '#include +"win32/' "$src/win32/WorkstationGuard.h" || true
  rooms=(system input watch commit lock guard)
  for ((i = 0; i < ${#rooms[@]}; i++)); do
    for above in "${rooms[@]:i+1}"; do
      grep -rnE "#include +\"win32/$above/" "$src/win32/${rooms[i]}" || true
    done
  done
  find "$src/win32" -mindepth 1 -maxdepth 1 ! -name WorkstationGuard.h | sed 's/$/  (not a room of the Windows floor)/' |
    grep -vE "/($(IFS='|'; echo "${rooms[*]}"))  " || true
)
declared=$(grep -hoE '^[A-Za-z_][A-Za-z0-9_:<>,* &]*[ *&]([A-Za-z_][A-Za-z0-9_]*)\(' \
  $(find "$src/portable" -name '*.h' ! -name KeyPort.h) | sed -E 's/.*[ *&]([A-Za-z_][A-Za-z0-9_]*)\($/\1/' | sort -u)
for name in $declared; do
  bad+=$(grep -nE "^[A-Za-z].*[ *&:]$name\([^;]*$" $(find "$src/win32" -name '*.cpp') | sed "s/$/  (declared in src\/portable)/" || true)
done
if [ -n "$bad" ]; then
  echo "check-layers: code that reaches a layer above its own:"
  echo "$bad"
  exit 1
fi
# A library loaded by its bare name is searched for beside the host first: only
# the loader of system libraries, by full path, calls LoadLibrary.
bare=$(grep -rnE '\bLoadLibrary(Ex)?[AW]?\b' "$src" | grep -v '^[^:]*win32/system/SystemLibrary\.cpp:' || true)
if [ -n "$bare" ]; then
  echo "check-layers: libraries loaded other than by LoadSystemLibrary (win32/system/SystemLibrary):"
  echo "$bare"
  exit 1
fi
echo "check-layers: portable (text <- engine) <- win32 (state <- system <- input <- watch <- commit <- lock <- guard) <- plugin, nothing reaches up; libraries only from the system folder"
