#!/usr/bin/env bash
# Runs one cross-built 64-bit Windows test program under wine (CTest's
# CMAKE_CROSSCOMPILING_EMULATOR for the Windows build). The caller provides
# WINEPREFIX and a running wine server (scripts/test-windows.sh does both).
#
# A run counts as a pass only if the program is a 64-bit Windows program,
# exits 0 within the time limit and wrote its GoogleTest report: a program
# that wine cannot run (a 32-bit one here) exits 0 silently and must fail.
set -euo pipefail
exe="$1"
shift
wine="${WINE:-/usr/lib/wine/wine64}"
if ! grep -q 'file format pei-x86-64' <<<"$(x86_64-w64-mingw32-objdump -f "$exe")"; then
  echo "not a 64-bit Windows program, refusing to count it: $exe" >&2
  exit 1
fi
report="$(mktemp -u --suffix=.xml)"
status=0
# Wine sees the Unix file system as drive Z:.
GTEST_OUTPUT="xml:Z:${report//\//\\}" timeout -k 10 "${VISTREL_WINE_TIMEOUT:-300}" "$wine" "$exe" "$@" || status=$?
if [ "$status" -eq 0 ] && [ ! -s "$report" ]; then
  echo "no test report from $exe: it did not run" >&2
  status=1
fi
rm -f "$report"
exit "$status"
