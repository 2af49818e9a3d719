#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# Needs root (or sudo) only when something is missing. 32-bit Wine is
# installed only where the machine runs 32-bit code (scripts/wine-arch.sh);
# elsewhere 64-bit Wine runs the 64-bit build.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ clang libclang-rt-14-dev clang-tidy cppcheck gcovr
          libgtest-dev googletest python3
          g++-mingw-w64-i686 binutils-mingw-w64-i686
          g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
          wine xvfb xauth imagemagick
          xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils)
bits=$(scripts/wine-arch.sh 2>/dev/null)
if [ "$bits" = 32 ]; then
  packages+=(wine32:i386)
else
  packages+=(wine64)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
[ "$bits" = 32 ] && $sudo dpkg --add-architecture i386
# A mirror caught mid-sync fails an update now and then: try again, and go
# on with the lists it got if it keeps failing; the install says whether
# they were enough.
for attempt in 1 2 3; do
  $sudo apt-get update -q && break
  echo "apt-get update failed (attempt $attempt)"; sleep 10
done
for attempt in 1 2; do
  $sudo apt-get install -y -q "${missing[@]}" && exit 0
  echo "apt-get install failed (attempt $attempt)"; sleep 10
  $sudo apt-get update -q || true
done
# When the security suite's i386 list is the one that failed, the amd64
# libraries it updates have no i386 twin of the same version, and Wine's
# 32-bit half cannot be installed. The release's own suite has both.
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
echo "Installing from $codename itself"
$sudo apt-get install -y -q -t "$codename" "${missing[@]}"
