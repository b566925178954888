#!/usr/bin/env bash
# check-imports.sh OBJDUMP EXE: fails when EXE imports WS2_32, which the echo
# engine binds at run time instead.
set -euo pipefail
imports=$("$1" -p "$2" | grep 'DLL Name:' || true)
grep -qi 'KERNEL32' <<<"$imports" || { echo "no import table read from $2"; exit 1; }
if grep -qi 'ws2_32' <<<"$imports"; then
  echo "$2 imports WS2_32:"; echo "$imports"; exit 1
fi
echo "$imports"
