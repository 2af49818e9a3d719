#!/usr/bin/env bash
# Builds every target and runs every test: the native tests against the
# Win32 stand-in (in the build that measures their coverage), the same tests
# under AddressSanitizer and UndefinedBehaviorSanitizer (each test program in
# one process, as a sanitized process is slow to start), a short fuzz run,
# then both Windows builds. The shipped 32-bit module is always built and
# checked; the Wine tests run on the 32-bit build where this machine runs
# 32-bit code, and on the 64-bit build under 64-bit Wine where it cannot
# (scripts/wine-arch.sh says which, and why).
set -euo pipefail
cd "$(dirname "$0")/.."
bits=$(scripts/wine-arch.sh)
scripts/install-deps.sh
# As many compilations and tests at a time as the machine has cores (Ninja's
# own choice, two more, is slower on two cores); the Wine tests run one at a
# time whatever this says.
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}
cmake --workflow --preset asan
cmake --workflow --preset fuzz
# Builds every native target, runs every native test on fresh counts and
# prints the line and branch coverage of FMPlugin/, failing below 95% of
# lines or 90% of branches; then the conformance tests alone on fresh counts
# and the lines of winsim/src/ they reach, failing below 99.6%. (The native
# preset builds and runs the same tests without the counts.)
cmake --workflow --preset coverage
if [ "$bits" = 32 ]; then
  cmake --workflow --preset windows
  cmake --workflow --preset windows64-build
else
  cmake --workflow --preset windows-module
  cmake --workflow --preset windows64
fi
scripts/wine-arch.sh >/dev/null
