#!/usr/bin/env bash
# Runs one cross-built Windows test program under wine (CTest's
# CMAKE_CROSSCOMPILING_EMULATOR for the Windows builds):
#
#   scripts/wine-run.sh i386|x86-64 PROGRAM [ARGUMENTS...]
#
# i386 runs it with wine's 32-bit loader (package wine32), x86-64 with the
# 64-bit one (wine64). The caller provides WINEPREFIX (a 64-bit prefix runs
# both) and a running wine server (scripts/test-windows.sh does both).
#
# A run counts as a pass only if the program is a Windows program of the
# architecture named, exits 0 within the time limit and wrote its GoogleTest
# report: a program that wine cannot run can exit 0 silently and must fail.
set -euo pipefail
if [ "$#" -lt 2 ]; then
  echo "usage: scripts/wine-run.sh i386|x86-64 PROGRAM [ARGUMENTS...]" >&2
  exit 2
fi
architecture="$1"
exe="$2"
shift 2
case "$architecture" in
  i386) wine=/usr/lib/wine/wine ;;
  x86-64) wine=/usr/lib/wine/wine64 ;;
  *) echo "unknown architecture $architecture (i386 or x86-64)" >&2; exit 2 ;;
esac
# objdump of either mingw-w64 binutils reads 32- and 64-bit PE alike.
if ! grep -q "file format pei-$architecture\$" <<<"$(x86_64-w64-mingw32-objdump -f "$exe")"; then
  echo "not a $architecture Windows program, refusing to count it: $exe" >&2
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
