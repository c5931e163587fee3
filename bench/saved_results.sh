#!/usr/bin/env bash
# Saving and loading a result of 500,000 rows (time, and the row file's size against the CSV
# export of the same result).
#   bench/saved_results.sh [ROWS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-bench"
"$root/scripts/build" "$build" -DTWINEX_BENCH=ON -DTWINEX_TESTS=OFF >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/saved_results_bench" "${1:-500000}" "$work"
