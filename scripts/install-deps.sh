#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# Needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(cmake ninja-build g++ clang libclang-rt-14-dev clang-tidy cppcheck gcovr
          libgtest-dev googletest libbenchmark-dev python3
          g++-mingw-w64-i686 binutils-mingw-w64-i686
          wine wine32:i386 xvfb xauth imagemagick)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo dpkg --add-architecture i386
$sudo apt-get update -q
$sudo apt-get install -y -q "${missing[@]}"
