#!/usr/bin/env bash
# Builds and runs every test. With --sanitize, in the ASan+UBSan build.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh" "$@"
if [[ " $* " == *" --sanitize "* ]]; then dir="$root/build-asan"; else dir="$root/build"; fi
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
