#!/usr/bin/env bash
# Builds Loomvane.fmx and runs the demo script in the stand-in host under
# Wine on a virtual screen. Pictures of the screen go to build/demo as PNG.
# Where this machine runs no 32-bit code, the 64-bit build runs the demo
# under 64-bit Wine (scripts/wine-arch.sh); the shipped module is built too.
set -euo pipefail
cd "$(dirname "$0")/.."
bits=$(scripts/wine-arch.sh)
scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
build=build/windows arch=win32
if [ "$bits" = 64 ]; then
  cmake --preset windows64 >/dev/null
  cmake --build --preset windows64
  build=build/windows64 arch=win64
fi
out=$PWD/build/demo
rm -rf "$out"
mkdir -p "$out"
export LOOMVANE_WINEPREFIX=$PWD/$build/wineprefix LOOMVANE_WINEARCH=$arch
cmake/wine-run.sh $build/fmhost/fmhost.exe --plugin $build/FMWinRsc/Loomvane.fmx \
  --snapshots "$out" demo/demo.fmh
for bmp in "$out"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
echo "Pictures of the screen: $out"
ls "$out"
