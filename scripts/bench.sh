#!/usr/bin/env bash
# Benchmarks that print figures: the native pixel conversion against memcpy, and
# the renderer under Wine (start to first frame, capture and upload, frame rate).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench --target renderer_bench
build/bench/tests/renderer/renderer_bench --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true

make --no-print-directory windows
export ORVANEL_WINEPREFIX="$PWD/build/wineprefix"
(cd tests/e2e && /usr/bin/python3 bench_renderer.py)
(cd tests/e2e && /usr/bin/python3 bench_host.py)
