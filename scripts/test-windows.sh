#!/usr/bin/env bash
# The Windows builds, on Linux, installing the Debian packages they need
# first when run as root (the i386 architecture added for wine32 included):
#  1. the engine's 32-bit module (VistrelCommand.dll with our stand-ins of
#     the engine's modules, and the engine-side loader) cross-built with
#     mingw-w64 i686, its export and import tables checked
#     (scripts/check-dll-tables.sh), and the whole suite built beside it and
#     run under wine32: the module loaded with LoadLibrary, its members called
#     as thiscall, D3DX called as stdcall in wine's builtin d3dx9_35.dll, the
#     mode list on real "COMBOBOX" windows;
#  2. the same suite cross-built for 64-bit Windows and run under wine64;
#  3. each build's result digests (tests/digest) compared with the ones
#     pinned in tests/digest/windows-*.txt: any change of a result's bits
#     fails the run.
# Both run in one throwaway 64-bit prefix (it runs 32-bit programs too) with
# the null graphics driver. wine32's loader is a 32-bit Linux program: on a
# machine whose kernel runs none (some virtual machines' hosts run 64-bit
# user code only, and execve of an i386 program fails there), the 32-bit
# suite is built and its tables checked, and the run says loudly that it was
# not run.
#
#   scripts/test-windows.sh        build directories build-win32, build-win64
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

# wine32 is an i386 package, installable only once the machine accepts that
# architecture; install-packages.sh then refreshes the package lists, since
# wine32 is missing.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "wine32 needs the i386 architecture: run as root, or dpkg --add-architecture i386 first" >&2
    exit 1
  fi
  dpkg --add-architecture i386
fi
packages=(cmake ninja-build googletest mingw-w64 g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-posix
          binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 wine wine64 wine32:i386 fonts-wine)
# Without wine's recommendations (OpenGL, sound, printing, GStreamer
# plug-ins): headless test runs need none of them.
"$root/scripts/install-packages.sh" --no-recommends "${packages[@]}"

echo "== 32-bit Windows module and suite (i686, SSE2, static runtime)"
# The module as shipped (RelWithDebInfo, the build of "Building for the
# engine" in README.md); the test programs linked without their debug
# information (-s), which would make each tens of megabytes, and, as every
# program here, with the runtime linked in (the toolchain's flags, which
# CMAKE_EXE_LINKER_FLAGS would replace).
cmake -S "$root" -B "$root/build-win32" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" -DVISTREL_BUILD_TESTS=ON \
  -DCMAKE_EXE_LINKER_FLAGS_RELWITHDEBINFO=-s \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/wine-run.sh;i386" \
  -DVISTREL_GTEST_SOURCE_DIR=/usr/src/googletest -Dgtest_disable_pthreads=ON >/dev/null
cmake --build "$root/build-win32" -j "$(nproc)"
bash "$root/scripts/check-dll-tables.sh" "$root/build-win32/lib/VistrelCommand.dll"

echo "== 32-bit built and checked (${SECONDS}s)"
echo "== 64-bit Windows suite (x86_64)"
# Optimised as the native build, without debug information: the statically
# linked test programs would carry tens of megabytes of it each.
cmake -S "$root" -B "$root/build-win64" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake" -DVISTREL_BUILD_TESTS=ON \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/wine-run.sh;x86-64" \
  -DVISTREL_GTEST_SOURCE_DIR=/usr/src/googletest -Dgtest_disable_pthreads=ON >/dev/null
cmake --build "$root/build-win64" -j "$(nproc)"
bash "$root/scripts/check-dll-tables.sh" "$root/build-win64/lib/VistrelCommand.dll" | tail -n 1

# A throwaway prefix; no display; wine's own d3dx9_35 (never a native one);
# no Mono or Gecko installers. Every wine call is under a time limit, and the
# wine server is stopped on every way out, so nothing can hang or linger.
wine="/usr/lib/wine/wine64"
export WINEPREFIX="$(mktemp -d)" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;d3dx9_35=b"
unset DISPLAY WAYLAND_DISPLAY
stop_wine() {
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  timeout 30 wineserver -w >/dev/null 2>&1 || true
}
trap 'stop_wine; rm -rf "$WINEPREFIX"' EXIT
# Creates the prefix (with its 32-bit half, wine32 being installed) and
# selects the null graphics driver, then restarts the server and wine's
# services under that driver, detached from our output (a service started by
# a test would hold CTest's output pipe open).
timeout 300 "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
stop_wine
timeout 120 "$wine" wineboot </dev/null >/dev/null 2>&1
echo "== wine prefix ready (${SECONDS}s)"

# Runs the result digest program of build directory $1 with wine loader $2
# and compares its lines with the pinned ones in $3.
check_digests() {
  local digests
  digests="$(timeout -k 10 300 "$2" "$1/bin/result_digest.exe" </dev/null | tr -d '\r')"
  if [ ! -f "$3" ]; then
    echo "FAIL: no pinned result digests in $3; this build's are:" >&2
    echo "$digests" >&2
    return 1
  fi
  if ! diff "$3" <(echo "$digests"); then
    echo "FAIL: result digests of $1 differ from $3 (< pinned, > this build)." >&2
    echo "A result's bits changed; if that is intended, pin the new lines in $3." >&2
    return 1
  fi
  echo "result digests as pinned in ${3#"$root/"}"
}

if refusal="$(/usr/lib/wine/wine --version 2>&1 >/dev/null)"; then
  echo "== 32-bit suite under wine32"
  ctest --test-dir "$root/build-win32" --output-on-failure --no-tests=error -j "$(nproc)" --timeout 300
  check_digests "$root/build-win32" /usr/lib/wine/wine "$root/tests/digest/windows-i686.txt"
  echo "== 32-bit suite done (${SECONDS}s)"
else
  echo "== 32-bit suite NOT RUN: this machine's kernel runs no 32-bit programs (${refusal##*: })." >&2
  echo "== The 32-bit module is built and its tables checked only." >&2
fi
echo "== 64-bit suite under wine64"
ctest --test-dir "$root/build-win64" --output-on-failure --no-tests=error -j "$(nproc)" --timeout 300
check_digests "$root/build-win64" /usr/lib/wine/wine64 "$root/tests/digest/windows-x86_64.txt"
echo "== Windows builds done (${SECONDS}s)"
