#!/usr/bin/env bash
# Builds the project into a build directory, installing the Debian packages
# it needs first when run as root on a machine that lacks them.
#
#   scripts/build.sh [--sanitize] [--benchmarks] [--release] [--m32 [--x87]] [--fuzz] [build-dir]
#
# --sanitize builds with AddressSanitizer and UndefinedBehaviorSanitizer
# (default directory build-asan); --benchmarks adds the benchmark programs;
# --release builds type Release instead of RelWithDebInfo.
# --m32 builds for 32-bit x86 with SSE2 arithmetic (build-m32), GoogleTest
# compiled from Debian's sources; --x87 there uses x87 arithmetic instead
# (build-m32-x87).
# --fuzz builds only the fuzz targets, with clang (default directory build-fuzz).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
sanitize=OFF
benchmarks=OFF
buildType=RelWithDebInfo
m32=OFF
x87=OFF
fuzz=OFF
dir=""
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=ON ;;
    --benchmarks) benchmarks=ON ;;
    --release) buildType=Release ;;
    --m32) m32=ON ;;
    --x87) x87=ON ;;
    --fuzz) fuzz=ON ;;
    *) dir="$arg" ;;
  esac
done
if [ "$x87" = ON ] && [ "$m32" = OFF ]; then
  echo "--x87 needs --m32" >&2
  exit 2
fi
if [ -z "$dir" ]; then
  if [ "$fuzz" = ON ]; then dir="$root/build-fuzz"
  elif [ "$sanitize" = ON ]; then dir="$root/build-asan"; else dir="$root/build"; fi
  if [ "$m32" = ON ]; then dir="$root/build-m32"; fi
  if [ "$m32" = ON ] && [ "$x87" = ON ]; then dir="$root/build-m32-x87"; fi
fi

packages=(g++ cmake ninja-build googletest libgtest-dev libgmock-dev libbenchmark-dev)
# vistrel-rig: JSON and the command line; its picture test's renderer and PNG reader.
packages+=(nlohmann-json3-dev libcli11-dev librsvg2-bin libpng-dev)
# vistrel-rig's calibration refinement: Ceres Solver.
packages+=(libceres-dev)
# vistrel-rig's coverage analysis: Boost.Geometry (header-only).
packages+=(libboost-dev)
# vistrel-rig export: the MPCDI container (zip) and its XML.
packages+=(libzip-dev libtinyxml2-dev)
extra=()
targets=()
if [ "$m32" = ON ]; then
  packages+=(g++-multilib)
  extra+=(-DCMAKE_CXX_FLAGS=-m32 -DVISTREL_X87_MATH="$x87"
          -DVISTREL_GTEST_SOURCE_DIR=/usr/src/googletest)
fi
if [ "$fuzz" = ON ]; then
  packages+=(clang libclang-rt-14-dev)
  extra+=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVISTREL_BUILD_TESTS=OFF
          -DVISTREL_FUZZ=ON)
  targets=(--target fuzzers)
fi
"$root/scripts/install-packages.sh" "${packages[@]}"

cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$buildType" \
  -DVISTREL_SANITIZE="$sanitize" -DVISTREL_BUILD_BENCHMARKS="$benchmarks" \
  ${extra[@]+"${extra[@]}"} >/dev/null
cmake --build "$dir" -j "$(nproc)" ${targets[@]+"${targets[@]}"}
