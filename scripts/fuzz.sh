#!/usr/bin/env bash
# Runs every fuzz target under libFuzzer for FUZZ_SECONDS (default 30) each.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
seconds=${FUZZ_SECONDS:-30}
for target in $(find build/fuzz -type f -executable -name '*fuzz*' ! -name '*.*'); do
  echo "== $target"
  "$target" -max_total_time="$seconds" -max_len=512
done
