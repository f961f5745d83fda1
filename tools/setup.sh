#!/usr/bin/env bash
# Installs what PIKON needs on Debian 12. Idempotent; as root, or through sudo.
#
#   tools/setup.sh demo      the native build and its demo (tools/demo.sh)
#   tools/setup.sh package   the Windows package (tools/package.sh)
#   tools/setup.sh [all]     everything: the tests too (tools/test-all.sh)
set -euo pipefail

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

# The demo and the package install nothing beyond what they use; the full set keeps the
# recommended packages, as the Wine checks were made with them.
apt_options=(--no-install-recommends)
case "${1:-all}" in
  demo) packages=("${demo[@]}") ;;
  package) packages=("${package[@]}") ;;
  all) packages=("${demo[@]}" "${package[@]}" "${tests[@]}"); apt_options=() ;;
  *) echo "usage: $0 [demo|package|all]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "${apt_options[@]}" "${missing[@]}"
fi
