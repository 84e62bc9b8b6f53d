#!/usr/bin/env bash
# Builds the fuzz targets (libFuzzer, ASan, UBSan, clang) in build-fuzz and
# runs each for a fixed time, starting from its committed seed corpus in
# fuzz/corpus/<target>. A finding (a crash, a sanitizer report, a broken
# property, a timeout or running out of memory) fails the script; the input
# is kept in build-fuzz/findings/.
#
#   scripts/fuzz.sh [seconds per target]    (default 60)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
dir="$root/build-fuzz"
"$root/scripts/build.sh" --fuzz "$dir"
mkdir -p "$dir/findings"
for target in project_load_fuzzer mode_list_fuzzer parameter_search_fuzzer command_modes_fuzzer; do
  echo "== $target: ${seconds} s"
  mkdir -p "$dir/corpus/$target"
  # New inputs go to the build's own corpus; the committed seeds are read only.
  if ! "$dir/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=4096 -print_final_stats=1 -artifact_prefix="$dir/findings/$target-" \
      "$dir/corpus/$target" "$root/fuzz/corpus/$target" 2>&1 \
      | { grep -vE '^(#[0-9]|"|###|INFO:)' || true; }; then
    echo "$target: a finding, kept in $dir/findings" >&2
    exit 1
  fi
done
