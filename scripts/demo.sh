#!/usr/bin/env bash
# Builds Loomvane.fmx and runs the demo script in the stand-in host under
# Wine on a virtual screen. Pictures of the screen go to build/demo as PNG.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows
out=$PWD/build/demo
rm -rf "$out"
mkdir -p "$out"
export LOOMVANE_WINEPREFIX=$PWD/build/windows/wineprefix
cmake/wine-run.sh build/windows/fmhost/fmhost.exe --plugin build/windows/FMWinRsc/Loomvane.fmx \
  --snapshots "$out" demo/demo.fmh
for bmp in "$out"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
done
echo "Pictures of the screen: $out"
ls "$out"
