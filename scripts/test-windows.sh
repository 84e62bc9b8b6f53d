#!/usr/bin/env bash
# The Windows builds, on Linux, installing the Debian packages they need
# first when run as root:
#  1. the engine's 32-bit module (VistrelCommand.dll with our stand-ins of
#     the engine's modules, and the engine-side loader) cross-built with mingw-w64
#     i686, the module's export and import tables checked
#     (scripts/check-dll-tables.sh);
#  2. the whole suite cross-built for 64-bit Windows and run under wine64 in
#     a throwaway prefix with the null graphics driver: the module loaded with
#     LoadLibrary, D3DX from wine's builtin d3dx9_35.dll, the mode list on real
#     "COMBOBOX" windows. (Wine here runs no 32-bit programs; the 32-bit build
#     is checked, not run.)
#
#   scripts/test-windows.sh        build directories build-win32, build-win64
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

packages=(cmake ninja-build googletest mingw-w64 g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-posix
          binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 wine wine64 fonts-wine)
# Without wine's recommendations (OpenGL, sound, printing, GStreamer
# plug-ins): headless test runs need none of them.
"$root/scripts/install-packages.sh" --no-recommends "${packages[@]}"

echo "== 32-bit Windows module (i686, SSE2, static runtime)"
cmake -S "$root" -B "$root/build-win32" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" -DVISTREL_BUILD_TESTS=OFF >/dev/null
# The engine-side loader too, so its calls of the members (thiscall) build.
cmake --build "$root/build-win32" -j "$(nproc)" --target VistrelCommand vistrel_module_loader
bash "$root/scripts/check-dll-tables.sh" "$root/build-win32/lib/VistrelCommand.dll"

echo "== 32-bit module built and checked (${SECONDS}s)"
echo "== 64-bit Windows suite (x86_64), run under wine"
# Optimised as the native build, without debug information: the statically
# linked test programs would carry tens of megabytes of it each.
cmake -S "$root" -B "$root/build-win64" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/wine-run.sh" \
  -DVISTREL_GTEST_SOURCE_DIR=/usr/src/googletest -Dgtest_disable_pthreads=ON >/dev/null
cmake --build "$root/build-win64" -j "$(nproc)"
bash "$root/scripts/check-dll-tables.sh" "$root/build-win64/lib/VistrelCommand.dll" | tail -n 1

# A throwaway prefix; no display; wine's own d3dx9_35 (never a native one);
# no Mono or Gecko installers. Every wine call is under a time limit, and the
# wine server is stopped on every way out, so nothing can hang or linger.
wine="/usr/lib/wine/wine64"
export WINE="$wine" WINEPREFIX="$(mktemp -d)" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;d3dx9_35=b"
unset DISPLAY WAYLAND_DISPLAY
stop_wine() {
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  timeout 30 wineserver -w >/dev/null 2>&1 || true
}
trap 'stop_wine; rm -rf "$WINEPREFIX"' EXIT
# Creates the prefix and selects the null graphics driver, then restarts the
# server and wine's services under that driver, detached from our output (a
# service started by a test would hold CTest's output pipe open).
timeout 300 "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
stop_wine
timeout 120 "$wine" wineboot </dev/null >/dev/null 2>&1
echo "== wine prefix ready (${SECONDS}s)"
ctest --test-dir "$root/build-win64" --output-on-failure -j "$(nproc)" --timeout 300
echo "== Windows builds done (${SECONDS}s)"
