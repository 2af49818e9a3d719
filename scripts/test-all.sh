#!/usr/bin/env bash
# Builds every target and runs every test: the native build against the
# Win32 stand-in, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short fuzz run, the coverage of the plug-in,
# then the Windows build with its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --workflow --preset native
cmake --workflow --preset asan
cmake --workflow --preset fuzz
cmake --workflow --preset coverage
cmake --build --preset coverage --target coverage-report
cmake --workflow --preset windows
