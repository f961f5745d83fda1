#!/usr/bin/env bash
# Installs what PIKON needs on Debian 12. Idempotent; as root, or through sudo.
#
#   tools/setup.sh demo      the native build and its demo (tools/demo.sh)
#   tools/setup.sh package   the Windows package (tools/package.sh)
#   tools/setup.sh [all]     everything: the tests too (tools/test-all.sh); where the kernel runs
#                            32-bit programs, also 32-bit Wine, to test the i386 PIKON.exe itself
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

demo=(
  cmake g++ make pkg-config
  libfreetype-dev libfontconfig-dev libpng-dev fonts-liberation fonts-dejavu-core
  # windres and the MinGW C preprocessor and headers it reads pikon.rc with: the native build
  # reads the same compiled resources as PIKON.exe
  binutils-mingw-w64-i686 gcc-mingw-w64-i686
)
package=(cmake g++ make g++-mingw-w64-i686 binutils-mingw-w64-i686)
tests=(
  python3 libgtest-dev libgmock-dev libbenchmark-dev g++-mingw-w64-x86-64
  wine wine64 xvfb x11-utils xdotool imagemagick util-linux
)

# 32-bit Wine, and the 32-bit C++ libraries the simulated module's preload library is built
# with for it (tools/winesim); the smallest set that lets g++ -m32 link a shared library.
i386=(wine32:i386 libc6-dev-i386 lib32stdc++-12-dev)

# The demo and the package install nothing beyond what they use; the full set keeps the
# recommended packages, as the Wine checks were made with them.
apt_options=(--no-install-recommends)
case "${1:-all}" in
  demo) packages=("${demo[@]}") ;;
  package) packages=("${package[@]}") ;;
  all) packages=("${demo[@]}" "${package[@]}" "${tests[@]}"); apt_options=() ;;
  *) echo "usage: $0 [demo|package|all]" >&2; exit 2 ;;
esac

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if [ "${1:-all}" = all ]; then
  if "$here/../tests/wine/runs_i386.sh"; then
    packages+=("${i386[@]}")
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      echo "setup: enabling the i386 architecture for 32-bit Wine"
      $SUDO dpkg --add-architecture i386
    fi
  else
    echo "setup: this machine's kernel does not run 32-bit programs: no 32-bit Wine; the i386" \
         "PIKON.exe is built but not run (its x86-64 twin is)"
  fi
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "${apt_options[@]}" "${missing[@]}"
fi
