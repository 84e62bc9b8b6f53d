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
# vistrel-rig serve: cpp-httplib (found through pkg-config); its tests drive
# Debian's chromium with node.
studio=OFF
if [ "$m32" = OFF ] && [ "$fuzz" = OFF ]; then
  studio=ON
  packages+=(libcpp-httplib-dev pkgconf chromium nodejs)
  # Debian's npm, unless node came with its own (a nodejs package from
  # elsewhere carries npm and conflicts with Debian's).
  command -v npm >/dev/null || packages+=(npm)
fi
extra=()
targets=()
if [ "$m32" = ON ]; then
  packages+=(g++-multilib)
  # Tests are listed when ctest runs, not when they are linked: a machine
  # whose kernel runs no 32-bit programs can still build them.
  extra+=(-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST)
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

# The studio's browser tests: playwright-core exactly as tests/studio's lock
# file says, installed into the build directory once per change of the lock;
# it downloads no browser (the tests use /usr/bin/chromium).
if [ "$studio" = ON ]; then
  node_dir="$dir/studio-node"
  if ! cmp -s "$root/tests/studio/package-lock.json" "$node_dir/package-lock.json" ||
     [ ! -d "$node_dir/node_modules/playwright-core" ]; then
    rm -rf "$node_dir"
    mkdir -p "$node_dir"
    cp "$root/tests/studio/package.json" "$root/tests/studio/package-lock.json" "$node_dir/"
    (cd "$node_dir" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
  fi
fi
