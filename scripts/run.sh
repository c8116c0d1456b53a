#!/usr/bin/env bash
# Builds and shows the screensaver under Wine: on $DISPLAY when there is one,
# otherwise on a private Xvfb, saving a screenshot 6 s after start to out/run.png.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
make --no-print-directory dist
mkdir -p out
export ORVANEL_WINEPREFIX="$PWD/build/wineprefix"
exec /usr/bin/python3 tests/e2e/run_screensaver.py "$@"
