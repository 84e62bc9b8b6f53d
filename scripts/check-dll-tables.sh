#!/usr/bin/env bash
# Checks a Windows build of the module against what the engine may load:
#
#   scripts/check-dll-tables.sh VistrelCommand.dll [expected-exports]
#
#  - exports: exactly the names in the expected list (default
#    plugin/exports-windows.txt; '#' lines are comments), nothing more;
#  - imports: only from Windows system DLLs, d3dx9_35.dll and our stand-ins
#    of the engine's own modules (kestrine.dll, Vistrel.dll) -- in particular
#    no compiler runtime DLL (libgcc_s_*, libstdc++-6, libwinpthread-1);
#  - D3DX bound to d3dx9_35.dll, and DisableThreadLibraryCalls imported (the
#    DllMain that turns thread notifications off).
# Prints both tables; exits non-zero on any difference.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dll="$1"
expected="${2:-$root/plugin/exports-windows.txt}"
allowed_imports=(kernel32.dll user32.dll msvcrt.dll d3dx9_35.dll kestrine.dll vistrel.dll)

table="$(x86_64-w64-mingw32-objdump -p "$dll")"  # reads 32- and 64-bit PE alike
exports="$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$table" |
  sed -n 's/^\s*\[ *[0-9]*\] \(.*\)$/\1/p' | sort)"
imports="$(sed -n 's/^\s*DLL Name: //p' <<<"$table")"

echo "== $dll"
echo "-- exports ($(wc -l <<<"$exports"))"
echo "$exports"
echo "-- imports"
echo "$imports"

failed=0
if ! difference="$(diff <(grep -v '^#' "$expected" | sed '/^$/d' | sort) <(echo "$exports"))"; then
  echo "FAIL: export table differs from $expected (< expected, > found):" >&2
  echo "$difference" >&2
  failed=1
fi
while read -r name; do
  # A here-string, not a pipe: grep -q stopping early must not fail printf.
  if ! grep -qixF -- "$name" <<<"$(printf '%s\n' "${allowed_imports[@]}")"; then
    echo "FAIL: imports from $name (allowed: ${allowed_imports[*]}, any case)" >&2
    failed=1
  fi
done <<<"$imports"
d3dx="$(sed -n '/DLL Name: d3dx9_35.dll/,/^$/p' <<<"$table")"
for function in D3DXMatrixRotationYawPitchRoll D3DXVec3Normalize; do
  grep -qw "$function" <<<"$d3dx" || { echo "FAIL: $function not imported from d3dx9_35.dll" >&2; failed=1; }
done
grep -qw DisableThreadLibraryCalls <<<"$table" ||
  { echo "FAIL: DisableThreadLibraryCalls not imported (no DllMain?)" >&2; failed=1; }
if [ "$failed" -ne 0 ]; then exit 1; fi
echo "OK: export and import tables as expected"
