# Compiles for WebAssembly with Debian's emscripten; its test programs run under Node:
#   cmake -S . -B build/wasm --toolchain cmake/emscripten.cmake
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# The conversion core reports failures by exceptions, which emscripten turns off by default;
# WebAssembly's own exceptions need no JavaScript trampolines, unlike its older emulation.
set(CMAKE_CXX_FLAGS_INIT "-fwasm-exceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fwasm-exceptions")
# emcc runs its JavaScript tools with node, which finds Debian's acorn only on this path
# when node itself is not Debian's.
set(CMAKE_CXX_COMPILER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
# This emscripten's loader predates Node's own fetch, which it would mistake for a browser's.
find_program(NODE_JS_EXECUTABLE NAMES nodejs node REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${NODE_JS_EXECUTABLE} --no-experimental-fetch)
