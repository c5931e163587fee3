#!/usr/bin/env bash
# The checksum database on the 20,000-file / 1 GiB tree, size + SHA-1 (-s34 -c2), warm cache:
#   off     the search with the database switched off
#   first   the same search with the database on and empty (it stores every digest it makes)
#   second  the search again with the database filled
# Prints the best wall time of $RUNS interleaved rounds, the ratios first/off and second/first,
# and what the second search read: its checksum counters and, from strace, the files of the
# tree it opened for reading.
#   bench/db_bench.sh [TREE]   (default build/bench/tree20k, made when missing)
# Environment: RUNS (default 5), CLI (default build/twinex-cli).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tree="$(realpath -m "${1:-$root/build/bench/tree20k}")"
cli="${CLI:-$root/build/twinex-cli}"
runs="${RUNS:-5}"
[ -x "$cli" ] || "$root/scripts/build" >/dev/null
if [ ! -d "$tree" ]; then
  echo "making $tree ..." >&2
  python3 "$root/bench/make_corpus.py" "$tree" --files 20000 --small-max 65536 --large 40 --large-size 8M
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data" LC_ALL=C.UTF-8 LC_MESSAGES=
printf '[database]\r\nusedb=1\r\nusedbcontent=1\r\ncheckdate=1\r\nchecksize=1\r\n' >"$work/on.ini"
printf '[database]\r\nusedb=0\r\n' >"$work/off.ini"

search() { "$cli" --no --settings "$work/$1.ini" -s34 -c2 "$tree" >/dev/null 2>"$work/$1.log"; }
# Wall seconds of one run of the arguments.
seconds() {
  local t0 t1
  t0=$(date +%s.%N); "$@"; t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" 'BEGIN{printf "%.4f", b-a}'
}
least() { awk -v a="$1" -v b="$2" 'BEGIN{print (b == "" || a < b) ? a : b}'; }

search off  # warm the page cache and make the data folder
best_off="" best_first="" best_second=""
for round in $(seq "$runs"); do
  best_off=$(least "$(seconds search off)" "$best_off")
  "$cli" --yes --db-new >/dev/null 2>&1
  best_first=$(least "$(seconds search on)" "$best_first")
  cp "$work/on.log" "$work/first.log"
  best_second=$(least "$(seconds search on)" "$best_second")
  echo "round $round: off $best_off  first $best_first  second $best_second (best so far)" >&2
done

echo "tree: $tree ($(find "$tree" -type f | wc -l) files, $(du -sh "$tree" | cut -f1))"
echo "best of $runs rounds, wall seconds:"
printf '  off     %s\n  first   %s\n  second  %s\n' "$best_off" "$best_first" "$best_second"
awk -v o="$best_off" -v f="$best_first" -v s="$best_second" \
  'BEGIN{printf "  first / off    = %.2f  (target <= 1.15)\n  second / first = %.2f  (target <= 0.25)\n", f/o, s/f}'

echo "first search counters:"
grep -E 'Checksums created|Database checksums' "$work/first.log" | grep -v 'Duration' | sed 's/^.* - /  /'
echo "second search counters:"
grep -E 'Checksums created|Database checksums' "$work/on.log" | grep -v 'Duration' | sed 's/^.* - /  /'
grep -q 'Checksums created' "$work/on.log" || echo "  (no \"Checksums created\" line: none were made)"
if command -v strace >/dev/null; then
  strace -f -e trace=openat -o "$work/strace.txt" "$cli" --no --settings "$work/on.ini" -s34 -c2 "$tree" >/dev/null 2>&1
  opened=$(grep -F "\"$tree/" "$work/strace.txt" | grep -v O_DIRECTORY | grep -c -v ENOENT || true)
  echo "second search, files of the tree opened (strace): $opened"
fi
