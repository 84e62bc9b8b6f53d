# Cross-building for 64-bit Windows, to run the suite under wine64, with
# Debian's mingw-w64 toolchain (package g++-mingw-w64-x86-64-posix).
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
# The posix thread model: GoogleTest needs std::mutex, which GCC 12 has only
# there on Windows.
set(MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
