#!/usr/bin/env bash
# Reads a built Lullex.fmx or Lullex.fmx64 with objdump and checks what the host
# and Windows see of it: a PE32 i386 DLL named "Lullex.FMX" (or a PE32+ x86-64
# DLL named "Lullex.fmx64") in its export table, exactly one export
# FMExternCallProc at ordinal 1, imports from system DLLs only (GDI32 measures
# the lock's texts in their font; FMWrapper.dll is bound at run time), and, for
# Lullex.fmx, none of the functions that Windows 95 and NT 4.0 lack (FileMaker
# Pro 5 and 6 ran there, and one missing import keeps the whole plug-in from
# loading). Lullex.fmx must also stay within its size budget of 96 KiB, the
# code's own, which the C runtime's printf or iostream would break: a
# signature appended to it is left out, as its size is the publisher's
# certificate chain's and the timestamp's, not the code's.
set -euo pipefail
dll=$1
fail() { echo "check-pe: $*" >&2; exit 1; }
case "$dll" in
  *.fmx64) objdump=x86_64-w64-mingw32-objdump; architecture="i386:x86-64"; exportName="Lullex\.fmx64"; kind="PE32+ x86-64" ;;
  *) objdump=i686-w64-mingw32-objdump; architecture="i386"; exportName="Lullex\.FMX"; kind="PE32 i386" ;;
esac
dump=$($objdump -p "$dll")

grep -qx "architecture: $architecture, flags 0x[0-9a-f]*:" <<<"$($objdump -f "$dll")" || fail "not an $architecture image"
grep -qE "^Characteristics .*" <<<"$dump" || fail "no PE header"
grep -q "DLL" <<<"$(grep -A12 '^Characteristics' <<<"$dump")" || fail "not a DLL"
grep -qE "^Name[[:space:]]+[0-9a-f]+ $exportName$" <<<"$dump" || fail "export table does not name $exportName"

exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | grep -E '^\s+\[' || true)
[ "$(wc -l <<<"$exports")" -eq 1 ] || fail "expected one export, found: $exports"
grep -qE '^\s+\[ *0\] FMExternCallProc$' <<<"$exports" || fail "the export is not FMExternCallProc: $exports"
grep -qE '^\s+\[ *0\] \+base\[ *1\]' <<<"$dump" || fail "FMExternCallProc is not at ordinal 1"

imports=$(grep -E '^\s+DLL Name:' <<<"$dump" | awk '{print toupper($3)}' | sort -u | tr '\n' ' ')
for name in $imports; do
  case "$name" in
    KERNEL32.DLL|USER32.DLL|GDI32.DLL|MSVCRT.DLL) ;;
    *) fail "imports $name (only KERNEL32, USER32, GDI32 and msvcrt are allowed)" ;;
  esac
done
# Functions of later Windows versions; the plug-in looks them up at run time.
later='MonitorFromWindow|MonitorFromPoint|MonitorFromRect|GetMonitorInfoA|GetMonitorInfoW|EnumDisplayMonitors|'\
'SendInput|GetLastInputInfo|LockWorkStation|AllowSetForegroundWindow|LockSetForegroundWindow|GetAncestor|'\
'SetLayeredWindowAttributes|UpdateLayeredWindow|AnimateWindow|FlashWindowEx|GetGUIThreadInfo|GetComboBoxInfo|'\
'GetWindowInfo|GetTitleBarInfo|RealGetWindowClassA|TrackMouseEvent|PrintWindow|SetWindowLongPtrA|GetWindowLongPtrA'
functions=$(sed -n '/^The Import Tables/,/^The Export Tables/p' <<<"$dump" | awk 'NF == 3 && $1 ~ /^[0-9a-f]+$/ {print $3}')
[ -n "$functions" ] || fail "no imported functions found"
newer=$(grep -xE "$later" <<<"$functions" || true)
[ -z "$newer" ] || [ "$kind" != "PE32 i386" ] || fail "imports functions that Windows 95 or NT 4.0 lack: $(tr '\n' ' ' <<<"$newer")"

# The link map beside a fresh build tells which runtime parts came in: MinGW's
# own printf (mingw_pformat, gdtoa) alone is 20 KB, so none of it may.
map="$(dirname "$dll")/Lullex.map"
if [ -f "$map" ]; then
  formatted=$(grep -oE 'lib[a-z0-9_]+\.a\([^)]*(pformat|gdtoa|printf)[^)]*\)' "$map" | sort -u | tr '\n' ' ' || true)
  [ -z "$formatted" ] || fail "links the C runtime's formatted output: $formatted"
  # No start-up code is linked (src/plugin/DllEntry.cpp): a static constructor
  # or an initialiser table would never run.
  initialisers=$(grep -E '^ \.(ctors|dtors|init_array|fini_array|CRT\$X[CIPT])[^ ]*( +0x[0-9a-f]+){2} ' "$map" || true)
  [ -z "$initialisers" ] || fail "has static initialisers that nothing would run: $initialisers"
fi

# Nothing may need the C runtime's start-up code, which is not there: no TLS
# directory (its callbacks), and no pseudo-relocations (which it would apply).
tls=$(awk '$1 == "Entry" && $2 == "9" {print $4}' <<<"$dump")
[ -z "$tls" ] || [ "$tls" = "00000000" ] || fail "has a TLS directory (size $tls)"
if [ -f "$map" ]; then
  lists=$(awk '$2 ~ /^_?_RUNTIME_PSEUDO_RELOC_LIST(_END)?__$/ {print $1}' "$map" | sort -u | wc -l)
  [ "$lists" -le 1 ] || fail "has pseudo-relocations, which nothing would apply"
fi

# x64 Windows unwinds through a function only by its entry in the function
# table (.pdata): every function called in the image must have one. Left
# aside: the jumps to imported functions, and libgcc's stack probe, which
# runs before its caller's frame and gives back all it pushed.
if [ "$kind" = "PE32+ x86-64" ]; then
  disassembly=$($objdump -d "$dll")
  entries=$(sed -n '/^The Function Table/,/^$/p' <<<"$dump" | awk 'NF == 4 && $1 ~ /:$/ {print $2}' | sed 's/^0*//')
  thunks=$(grep -E $'\tjmp +\*0x[0-9a-f]+\(%rip\)' <<<"$disassembly" | awk '{sub(":", "", $1); print $1}')
  probe=$(awk '/\tpush +%rcx$/ {at = $1; line = NR} /\tcmp +\$0x1000,%rax$/ && NR == line + 2 {sub(":", "", at); print at}' \
    <<<"$disassembly")
  called=$(grep -E $'\tcall +0x[0-9a-f]+$' <<<"$disassembly" | awk '{print $NF}' | sed 's/^0x//' | sort -u)
  [ -n "$called" ] && [ -n "$entries" ] || fail "no calls or no function table found"
  missing=$(comm -23 <(echo "$called") <(printf '%s\n%s\n%s\n' "$entries" "$thunks" "$probe" | sort -u) | tr '\n' ' ')
  [ -z "${missing// /}" ] || fail "functions without an unwind entry, at: $missing"
  unwind=", $(wc -l <<<"$entries") unwind entries"
fi

size=$(stat -c %s "$dll")
budget=""
if [ "$kind" = "PE32 i386" ]; then
  most=98304
  signature=$((0x$(awk '/Security Directory/ {print $4}' <<<"$dump")))
  code=$((size - signature))
  [ "$code" -le "$most" ] || fail "$dll is $code bytes unsigned, over its budget of $most (96 KiB)"
  budget=", $code unsigned, budget $most"
fi

echo "check-pe: $dll is a $kind DLL \"${exportName//\\/}\" exporting FMExternCallProc @1, importing $imports($size bytes$budget${unwind:-})"
