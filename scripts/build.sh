#!/usr/bin/env bash
# Builds the project into a build directory, installing the Debian packages
# it needs first when run as root on a machine that lacks them.
#
#   scripts/build.sh [--sanitize] [--benchmarks] [--release] [--m32 [--x87]] [build-dir]
#
# --sanitize builds with AddressSanitizer and UndefinedBehaviorSanitizer
# (default directory build-asan); --benchmarks adds the benchmark programs;
# --release builds type Release instead of RelWithDebInfo.
# --m32 builds for 32-bit x86 with SSE2 arithmetic (build-m32), GoogleTest
# compiled from Debian's sources; --x87 there uses x87 arithmetic instead
# (build-m32-x87).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
sanitize=OFF
benchmarks=OFF
buildType=RelWithDebInfo
m32=OFF
x87=OFF
dir=""
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=ON ;;
    --benchmarks) benchmarks=ON ;;
    --release) buildType=Release ;;
    --m32) m32=ON ;;
    --x87) x87=ON ;;
    *) dir="$arg" ;;
  esac
done
if [ "$x87" = ON ] && [ "$m32" = OFF ]; then
  echo "--x87 needs --m32" >&2
  exit 2
fi
if [ -z "$dir" ]; then
  if [ "$sanitize" = ON ]; then dir="$root/build-asan"; else dir="$root/build"; fi
  if [ "$m32" = ON ]; then dir="$root/build-m32"; fi
  if [ "$m32" = ON ] && [ "$x87" = ON ]; then dir="$root/build-m32-x87"; fi
fi

packages=(g++ cmake ninja-build googletest libgtest-dev libgmock-dev libbenchmark-dev)
m32_args=()
if [ "$m32" = ON ]; then
  packages+=(g++-multilib)
  m32_args=(-DCMAKE_CXX_FLAGS=-m32 -DVISTREL_X87_MATH="$x87"
            -DVISTREL_GTEST_SOURCE_DIR=/usr/src/googletest)
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

cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$buildType" \
  -DVISTREL_SANITIZE="$sanitize" -DVISTREL_BUILD_BENCHMARKS="$benchmarks" \
  ${m32_args[@]+"${m32_args[@]}"} >/dev/null
cmake --build "$dir" -j "$(nproc)"
