#!/bin/bash
# Installs what building and testing need on Debian, and nothing when it is
# all there already: CMake and GoogleTest for the native build, the mingw-w64
# cross compilers (win32 thread model) for both Windows editions, wine64 and
# Xvfb for the Wine tests, python3-pefile for checking the built images.
set -eu
need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for package in cmake make g++ libgtest-dev \
               g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 \
               binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 \
               wine64 xvfb xauth x11-utils python3 python3-pefile imagemagick locales; do
    have "$package" || need+=("$package")
done
[ ${#need[@]} -eq 0 ] && exit 0
echo "Installing: ${need[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" </dev/null
