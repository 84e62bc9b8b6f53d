#!/usr/bin/env bash
# Builds the project into a build directory, installing the Debian packages
# it needs first when run as root on a machine that lacks them.
#
#   scripts/build.sh [--sanitize] [--benchmarks] [--fuzz] [build-dir]
#
# --sanitize builds with AddressSanitizer and UndefinedBehaviorSanitizer
# (default directory build-asan); --benchmarks adds the benchmark programs;
# --fuzz builds only the fuzz targets, with clang (default directory build-fuzz).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
sanitize=OFF
benchmarks=OFF
fuzz=OFF
dir=""
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=ON ;;
    --benchmarks) benchmarks=ON ;;
    --fuzz) fuzz=ON ;;
    *) dir="$arg" ;;
  esac
done
if [ -z "$dir" ]; then
  if [ "$fuzz" = ON ]; then dir="$root/build-fuzz"
  elif [ "$sanitize" = ON ]; then dir="$root/build-asan"; else dir="$root/build"; fi
fi

packages=(g++ cmake ninja-build googletest libgtest-dev libgmock-dev libbenchmark-dev)
compilers=()
targets=()
if [ "$fuzz" = ON ]; then
  packages+=(clang libclang-rt-14-dev)
  compilers=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVISTREL_BUILD_TESTS=OFF)
  targets=(--target fuzzers)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}" >/dev/null
  else
    echo "missing packages: ${missing[*]} (run as root to install them)" >&2
    exit 1
  fi
fi

cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${compilers[@]}" \
  -DVISTREL_SANITIZE="$sanitize" -DVISTREL_BUILD_BENCHMARKS="$benchmarks" \
  -DVISTREL_FUZZ="$fuzz" >/dev/null
cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
