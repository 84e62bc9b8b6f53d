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
# target:max_len. The rig's inputs are files of any size: their limit is
# above the largest seed (a scene of 1024 projectors, a project of 64), so
# that faults that need size can show.
for entry in project_load_fuzzer:4096 mode_list_fuzzer:4096 parameter_search_fuzzer:4096 \
    command_modes_fuzzer:4096 scene_read_fuzzer:262144 rig_load_fuzzer:131072 \
    studio_request_fuzzer:262144; do
  target="${entry%%:*}"
  maxlen="${entry##*:}"
  echo "== $target: ${seconds} s"
  mkdir -p "$dir/corpus/$target"
  # New inputs go to the build's own corpus; the committed seeds are read only.
  if ! "$dir/bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len="$maxlen" -print_final_stats=1 -artifact_prefix="$dir/findings/$target-" \
      "$dir/corpus/$target" "$root/fuzz/corpus/$target" 2>&1 \
      | { grep -vE '^(#[0-9]|"|###|INFO:)' || true; }; then
    echo "$target: a finding, kept in $dir/findings" >&2
    exit 1
  fi
done
