#!/usr/bin/env bash
# exe-check.sh SHIPPED.exe TEST.exe
# The shipped program is a 32-bit GUI executable that needs only Windows'
# own DLLs: no MinGW runtime DLL, and not WS2_32.DLL, which the echo engine
# loads at run time. Stripped, under 1 MB. It carries none of the test build's failure points.
set -euo pipefail
shipped=$1 testbuild=$2
objdump=i686-w64-mingw32-objdump
fail() { echo "exe-check: $*" >&2; exit 1; }

# System DLLs the program may import; add one here only with a reason.
# wsock32: the About page's local address (Windows Sockets 1.1); version:
# reading the program's version; msimg32: pictures drawn with a transparent
# colour (tk::Image). shell32 (the About page's links) and comdlg32 (the
# save dialog) are loaded when first used, not imported: each would slow
# every start.
allowed="kernel32.dll user32.dll gdi32.dll comctl32.dll msvcrt.dll wsock32.dll version.dll msimg32.dll"

headers=$($objdump -p "$shipped")
grep -q 'file format pei-i386' <<<"$headers" || fail "not a PE32 i386 file"
grep -Eq '^Magic[[:space:]]+010b' <<<"$headers" || fail "not PE32 (optional header magic)"
grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers" || fail "not the GUI subsystem"

imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z')
[ -n "$imports" ] || fail "no imports found"
for dll in $imports; do
  [ "$dll" = ws2_32.dll ] && fail "imports WS2_32.DLL"
  grep -qw -- "$dll" <<<"$allowed" || fail "imports $dll, which is not a Windows system DLL"
done

# Stripped, with all the artwork inside, it stays under 1 MB.
size=$(stat -c %s "$shipped")
[ "$size" -lt 1048576 ] || fail "$size bytes, not under 1 MB"
$objdump -h "$shipped" | grep -q '\.debug' && fail "not stripped"

# The failure points exist in the test build and nowhere in the shipped one.
for marker in ZentVorlumo.Test.Throw ZV_FAIL_AT; do
  grep -qa -- "$marker" "$testbuild" || fail "test build lacks $marker (check is stale)"
  if grep -qa -- "$marker" "$shipped"; then fail "shipped executable contains $marker"; fi
done
echo "exe-check: $(basename "$shipped"): PE32 GUI, $size bytes, imports: $(echo $imports)"
