#!/usr/bin/env bash
# Builds the module and the tests that load it as the engine does with clang
# and UndefinedBehaviorSanitizer, and runs them (build directory
# build-clang-ubsan). GCC's sanitizer lacks clang's -fsanitize=function, which
# stops a program that calls a function through a pointer of another
# function type: the host's loader calling the module's entry points and
# exported members through plain pointers is where that can happen. The
# runtime is linked as a shared library into the module and the programs
# alike, so that the module's checks report through the program's runtime.
#
#   scripts/test-clang-ubsan.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$root/build-clang-ubsan"
"$root/scripts/install-packages.sh" clang libclang-rt-14-dev cmake ninja-build googletest libgtest-dev \
  libgmock-dev nlohmann-json3-dev libcli11-dev libceres-dev libpng-dev

runtime="$(dirname "$(clang++ -print-file-name=libclang_rt.ubsan_standalone-x86_64.so)")"
link="-fsanitize=undefined -shared-libsan -Wl,-rpath,$runtime"
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
  -DCMAKE_EXE_LINKER_FLAGS="$link" -DCMAKE_SHARED_LINKER_FLAGS="$link" \
  -DCMAKE_MODULE_LINKER_FLAGS="$link" >/dev/null
cmake --build "$dir" -j "$(nproc)" --target VistrelCommand plugin_test vistrel_command_test
ctest --test-dir "$dir" --output-on-failure --no-tests=error -R '^(TypeRecord|ModuleEndToEnd|VistrelCommandBase)\.'
