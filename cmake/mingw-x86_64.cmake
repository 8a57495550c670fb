# Cross-compiles for 64-bit Windows with Debian's MinGW-w64:
#   cmake -S . -B build/windows-x64 --toolchain cmake/mingw-x86_64.cmake
set(TORNEVO_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Tests of a 64-bit build run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
