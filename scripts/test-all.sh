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
# Builds, runs every native test on fresh counts and prints the line and
# branch coverage of FMPlugin/; fails below 95% of lines or 90% of branches.
cmake --workflow --preset coverage
cmake --workflow --preset windows
