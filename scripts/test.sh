#!/usr/bin/env bash
# The whole test run: dependencies, both builds, and all three tiers.
#   1. native unit tests of the portable code (AddressSanitizer + UBSan) and fuzz replays
#   2. Win32 contract tests, cross-compiled and run under Wine
#   3. end-to-end tests of the built Orvanel.scr and Orvanel.dll under Wine + Xvfb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

# The sources follow .clang-format.
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

jobs=$(nproc)
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

# One prefix for the whole run, made once; every Windows test gets its own display.
export ORVANEL_WINEPREFIX="$PWD/build/wineprefix"
/usr/bin/python3 -c 'import sys; sys.path.insert(0, "tests/e2e"); import harness; harness.ensure_prefix()'

status=0
ctest --preset native -j "$jobs" || status=1
# Windows tests share the prefix's wineserver: one at a time.
ctest --preset windows || status=1
exit $status
