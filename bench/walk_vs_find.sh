#!/usr/bin/env bash
# Times a whole twinex-cli search whose criteria need no content (size only) against find
# listing the same tree with sizes and times, warm cache, side by side.
#   bench/walk_vs_find.sh [TREE]   (default: build/bench/tree200k, made when missing)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tree="${1:-$root/build/bench/tree200k}"
cli="$root/build/twinex-cli"
runs="${RUNS:-5}"
[ -x "$cli" ] || "$root/scripts/build" >/dev/null
if [ ! -d "$tree" ]; then
  echo "making $tree ..."
  python3 "$root/bench/make_corpus.py" "$tree" --files 200000 --small-max 2048
fi
export XDG_DATA_HOME="$root/build/bench/data"

best() {  # best wall time of $runs runs, in seconds
  local best=999999 t0 t1 t
  for _ in $(seq "$runs"); do
    t0=$(date +%s.%N); "$@" >/dev/null 2>&1; t1=$(date +%s.%N)
    t=$(awk -v a="$t0" -v b="$t1" 'BEGIN{printf "%.4f", b-a}')
    best=$(awk -v a="$t" -v b="$best" 'BEGIN{print (a<b)?a:b}')
  done
  echo "$best"
}

"$cli" --no -s3 "$tree" >/dev/null 2>&1  # warm the cache
find "$tree" -type f -printf '%s %T@\n' >/dev/null
tf=$(best find "$tree" -type f -printf '%s %T@\n')
tt=$(best "$cli" --no -s3 "$tree")
files=$(find "$tree" -type f | wc -l)
printf 'files: %d\nfind:       %.3f s\ntwinex-cli: %.3f s\nratio:      %.2fx (target <= 2.5x)\n' \
  "$files" "$tf" "$tt" "$(awk -v a="$tt" -v b="$tf" 'BEGIN{print a/b}')"
