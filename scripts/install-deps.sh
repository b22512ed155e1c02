#!/usr/bin/env bash
# Installs what the build and the Wine test bench need, on a fresh Debian machine.
# Does nothing when everything is already there, so `make` may call it every time.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }
have cmake || need+=(cmake)
have g++ || need+=(g++)
have i686-w64-mingw32-g++ || need+=(g++-mingw-w64-i686 binutils-mingw-w64-i686)
# The 64-bit cross compiler and wine64 serve machines that cannot run 32-bit code.
have x86_64-w64-mingw32-g++ || need+=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64)
have Xvfb || need+=(xvfb)
have import || need+=(imagemagick)
have clang++ || need+=(clang)
[ -e /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
# The Windows tests build GoogleTest from its sources with the cross compiler.
[ -e /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
[ -e /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)
have lnkinfo || need+=(liblnk-utils)
have gzip || need+=(gzip)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-14-dev)
wine_ok=1
[ -x /usr/lib/wine/wine ] || wine_ok=0
[ -x /usr/lib/wine/wine64 ] || wine_ok=0
dpkg -s wine32:i386 >/dev/null 2>&1 || wine_ok=0
[ -d /usr/share/wine/fonts ] || wine_ok=0
if [ "$wine_ok" = 0 ]; then
  need+=(wine wine32:i386 wine64 fonts-wine)
fi
[ ${#need[@]} -eq 0 ] && exit 0

SUDO=
[ "$(id -u)" = 0 ] || SUDO=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
echo "installing: ${need[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
