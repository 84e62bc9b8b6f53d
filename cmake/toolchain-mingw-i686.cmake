# Cross-building for 32-bit Windows, the engine's platform, with Debian's
# mingw-w64 toolchain (package g++-mingw-w64-i686-win32). Floats use SSE2 as
# on every 32-bit x86 build (cmake/FloatArithmetic.cmake).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_TRIPLE i686-w64-mingw32)
# The win32 thread model: the module starts no threads, so it needs no
# pthread emulation (libwinpthread), not even linked in statically.
set(MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
