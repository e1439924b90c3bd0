#!/bin/bash
# Configures and builds every configuration into build/:
#   build/win32       i686: the deliverables LumoraHook.dll and Lumora.exe
#   build/win64       x86_64: the 64-bit edition and the Wine tests
#   build/native      the portable parts and their unit tests
#   build/native-asan the same with AddressSanitizer and UBSan
set -eu
cd "$(dirname "$0")/.."
jobs=$(nproc)
configure() {
    local dir=$1
    shift
    [ -f "build/$dir/CMakeCache.txt" ] || cmake -S . -B "build/$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
    cmake --build "build/$dir" -j "$jobs"
}
configure win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
configure win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
configure native
configure native-asan -DLUMORA_SANITIZE=ON
