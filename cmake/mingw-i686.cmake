# Cross-compiles for 32-bit Windows with Debian's MinGW-w64:
#   cmake -S . -B build/windows-x86 --toolchain cmake/mingw-i686.cmake
set(TORNEVO_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
