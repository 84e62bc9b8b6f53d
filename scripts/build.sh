#!/usr/bin/env bash
# Builds the project into a build directory, installing the Debian packages
# it needs first when run as root on a machine that lacks them.
#
#   scripts/build.sh [--sanitize] [--benchmarks] [build-dir]
#
# --sanitize builds with AddressSanitizer and UndefinedBehaviorSanitizer
# (default directory build-asan); --benchmarks adds the benchmark programs.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
sanitize=OFF
benchmarks=OFF
dir=""
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=ON ;;
    --benchmarks) benchmarks=ON ;;
    *) dir="$arg" ;;
  esac
done
if [ -z "$dir" ]; then
  if [ "$sanitize" = ON ]; then dir="$root/build-asan"; else dir="$root/build"; fi
fi

packages=(g++ cmake ninja-build googletest libgtest-dev libgmock-dev libbenchmark-dev)
missing=()
# vistrel-rig: JSON and the command line; its picture test's renderer and PNG reader.
packages+=(nlohmann-json3-dev libcli11-dev librsvg2-bin libpng-dev)
# Ceres Solver: the calibration refinement of rig/calibration.
packages+=(libceres-dev)
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

cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVISTREL_SANITIZE="$sanitize" -DVISTREL_BUILD_BENCHMARKS="$benchmarks" >/dev/null
cmake --build "$dir" -j "$(nproc)"
