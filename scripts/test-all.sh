#!/usr/bin/env bash
# Builds both targets and runs every test: the native build against the
# Win32 stand-in, then the Windows build with its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --workflow --preset native
cmake --workflow --preset windows
