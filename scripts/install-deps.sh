#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and the demo need.
# Does nothing when all are present, so it also runs offline once installed.
# Package names given as arguments replace the list (the demo needs only a few).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config binutils
  libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  wine wine64 qemu-user libz-mingw-w64
  libcairo2-dev libx11-dev libxtst-dev libxres-dev xvfb xauth x11-xserver-utils x11-utils fonts-liberation2
  clang libclang-rt-14-dev clang-format
  wixl msitools faketime dpkg-dev lintian python3
  # The Ardour host test tells a crash of Ardour from one in Druvo by its backtrace.
  gdb
)
# Ardour 7 hosts druvo.so in the linux preset's host test. It is installed on
# its own, without recommends, as on the machines where that test ran.
plain_packages=(ardour)
[ $# -eq 0 ] || { packages=("$@"); plain_packages=(); }

not_installed() {
  local package status
  for package in "$@"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || echo "$package"
  done
}
mapfile -t missing < <(not_installed "${packages[@]}")
mapfile -t missing_plain < <(not_installed "${plain_packages[@]}")
[ ${#missing[@]} -eq 0 ] && [ ${#missing_plain[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]} ${missing_plain[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
# With recommends: the tests ran on machines where wine came with its fonts
# and the X libraries its display driver loads at run time.
[ ${#missing[@]} -eq 0 ] || $sudo apt-get install -y "${missing[@]}"
[ ${#missing_plain[@]} -eq 0 ] || $sudo apt-get install -y --no-install-recommends "${missing_plain[@]}"
