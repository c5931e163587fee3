#!/usr/bin/env bash
# Similar-names grouping on 10,000 and 50,000 generated names, every measure at 80 %, with and
# without the prunings. The plain loop is cut off after $PLAIN_LIMIT seconds (default 30) and its
# full time estimated from its rate. Prints a Markdown table.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/build" "$build" >/dev/null
limit="${PLAIN_LIMIT:-30}"
for n in ${COUNTS:-10000 50000}; do
  "$build/similar_names_bench" "$n" "${PERCENT:-80}" "$limit"
done
