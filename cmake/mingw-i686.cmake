# Cross-compiles for 32-bit Windows with Debian's MinGW-w64:
#   cmake -S . -B build/windows-x86 --toolchain cmake/mingw-i686.cmake
set(TORNEVO_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Double arithmetic in SSE2, each step rounded to double, as on x86-64 and Linux: the x87
# unit would keep intermediates at 80 bits and give other answers. Every object gets it,
# the tests included. Windows 8 and later require SSE2, as nearly every PC with Windows 7 has.
# (They seed CMAKE_CXX_FLAGS: a build folder configured without them keeps its cached flags
# until it is made anew.)
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
# Tests run under Wine where its 32-bit side (wine32) is installed: scripts/test runs them
# only on a machine whose kernel runs 32-bit programs.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
