#!/usr/bin/env bash
# Builds and runs every test as a 32-bit x86 program (-m32), the engine's
# own word size: with SSE2 arithmetic, as the engine's compiler uses, or with
# --x87 on the x87 unit (80-bit temporaries). Then compares the result
# digests (tests/digest) with the 64-bit build's, when there is one (CI
# builds it first): the same lines mean the same bits for every result, so
# the results do not depend on the word size or the evaluation method.
# Build directory build-m32 or build-m32-x87; installs g++-multilib when run
# as root.
#
#   scripts/test-m32.sh [--x87]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
case "$#:${1:-}" in
  0:) dir="$root/build-m32" ;;
  1:--x87) dir="$root/build-m32-x87" ;;
  *) echo "usage: scripts/test-m32.sh [--x87]" >&2; exit 2 ;;
esac
"$root/scripts/build.sh" --m32 "$@" "$dir"
# Some machines' kernels run no 32-bit x86 programs at all (their exec fails
# with "Exec format error", status 126): the build is still checked there,
# the run cannot be.
probe=0
"$dir/bin/result_digest" >/dev/null 2>&1 || probe=$?
if [ "$probe" -eq 126 ]; then
  echo "32-bit suite NOT RUN: this machine's kernel runs no 32-bit x86 programs (built and linked only)"
  exit 0
fi
# A loop that never ends fails its test instead of stopping CI.
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" --timeout 120

native="$root/build"
if [ ! -f "$native/CMakeCache.txt" ]; then
  echo "no 64-bit build in $native to compare results with (scripts/test.sh makes one)"
  exit 0
fi
cmake --build "$native" --target result_digest >/dev/null
if ! diff <("$native/bin/result_digest") <("$dir/bin/result_digest"); then
  echo "results differ from the 64-bit build's (left: $native, right: $dir)" >&2
  exit 1
fi
echo "results bit for bit the same as the 64-bit build's"
