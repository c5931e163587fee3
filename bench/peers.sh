#!/usr/bin/env bash
# Size + SHA-1 search of twinex-cli against the duplicate finders of Debian (jdupes, rmlint,
# fdupes, rdfind) on two trees, side by side: wall time, CPU time and peak memory, best of $RUNS
# runs, as ratios against jdupes; and a check that every tool found the same files.
#   bench/peers.sh            warm cache (trees are made under build/bench when missing)
#   TOOLS="twinex rdfind" bench/peers.sh   only those tools (each still beside jdupes)
#   COLD=1 bench/peers.sh     the trees' file contents are evicted from the page cache before
#                             every run (only their pages: the rest of the machine keeps its
#                             cache; folders and inodes stay cached)
# Needs: apt-get install jdupes rmlint fdupes rdfind time
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cli="$root/build/twinex-cli"
runs="${RUNS:-3}"
work="$root/build/bench"
mkdir -p "$work"
[ -x "$cli" ] || "$root/scripts/build" >/dev/null
export XDG_DATA_HOME="$work/data"

make_tree() {
  local dir="$1"; shift
  [ -d "$dir" ] || { echo "making $dir ..." >&2; python3 "$root/bench/make_corpus.py" "$dir" "$@"; }
}
make_tree "$work/tree20k" --files 20000 --small-max 65536 --large 40 --large-size 8M
make_tree "$work/tree200k" --files 200000 --small-max 2048

cold="${COLD:-0}"
tree_now=""

# Drops the current tree's file contents from the page cache.
evict() {
  python3 - "$tree_now" <<'PY'
import os, sys
for top, _, names in os.walk(sys.argv[1]):
    for n in names:
        try:
            fd = os.open(os.path.join(top, n), os.O_RDONLY)
        except OSError:
            continue
        os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
        os.close(fd)
PY
}

# Prints "seconds cpu-seconds peak-KiB" of the best run (by wall time).
measure() {
  local best="" line
  for _ in $(seq "$runs"); do
    [ "$cold" = 1 ] && evict
    /usr/bin/time -o "$work/time.txt" -f '%e %U %S %M' "$@" >/dev/null 2>&1 || true
    line=$(tail -n 1 "$work/time.txt" | awk '{printf "%s %.2f %s\n", $1, $2 + $3, $4}')
    if [ -z "$best" ] || awk -v a="${line% *}" -v b="${best% *}" 'BEGIN{exit !(a<b)}'; then best="$line"; fi
  done
  echo "$best"
}

# Sorted list of every file that some group holds.
files_of() {
  case "$1" in
    twinex) "$cli" --no --export "$work/list.txt" --file-list -s34 -c2 "$2" >/dev/null 2>&1
            iconv -f UTF-16 -t UTF-8 "$work/list.txt" | tr -d "\r" | grep -v "^$" ;;
    jdupes) jdupes -r -q "$2" | grep -v '^$' ;;
    fdupes) fdupes -r -q "$2" | grep -v '^$' ;;
    # rmlint also lists folders whose whole content repeats; only files count here
    rmlint) (cd "$work" && rmlint -o fdupes:stdout "$2" 2>/dev/null) | grep -v '^$' | sed 's/^#* *//' |
            while IFS= read -r f; do [ -f "$f" ] && printf '%s\n' "$f"; done ;;
    rdfind) (cd "$work" && rdfind -outputname "$work/rdfind.txt" "$2" >/dev/null && grep -v '^#' "$work/rdfind.txt" | awk '{for(i=8;i<=NF;i++) printf "%s%s", $i, (i<NF?" ":"\n")}') ;;
  esac | sed 's/^\xff\xfe//' | sort -u
}

run_peer() {
  case "$1" in
    twinex) measure "$cli" --no -s34 -c2 "$2" ;;
    jdupes) measure jdupes -r -q "$2" ;;
    fdupes) measure fdupes -r -q "$2" ;;
    rmlint) measure sh -c "cd '$work' && rmlint -o fdupes:stdout '$2'" ;;
    rdfind) measure sh -c "cd '$work' && rdfind -outputname '$work/rdfind.txt' '$2'" ;;
  esac
}

for tree in "$work/tree20k" "$work/tree200k"; do
  tree_now="$tree"
  echo "== $(basename "$tree"): $(find "$tree" -type f | wc -l) files, $(du -sh "$tree" | cut -f1)$([ "$cold" = 1 ] && echo ', cold cache' || echo ', warm cache')"
  find "$tree" -type f -exec cat {} + >/dev/null  # warm the cache
  files_of jdupes "$tree" > "$work/expected.txt"
  printf '%-8s %8s %8s %8s %8s %10s %8s  %s\n' tool "wall s" "x jdupes" "cpu s" "x jdupes" "peak KiB" "x jdupes" "same files"
  ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", (b > 0 ? a / b : 0)}'; }
  # jdupes runs right before every other tool, so that each ratio compares runs of the same
  # minute on a machine that other work shares.
  for tool in ${TOOLS:-twinex jdupes rmlint fdupes rdfind}; do
    command -v "$tool" >/dev/null 2>&1 || [ "$tool" = twinex ] || { echo "$tool: not installed"; continue; }
    read -r jt jc jm <<<"$(run_peer jdupes "$tree")"
    read -r t c m <<<"$(run_peer "$tool" "$tree")"
    same=$(files_of "$tool" "$tree" | cmp -s - "$work/expected.txt" && echo yes || echo NO)
    printf '%-8s %8.2f %8s %8.2f %8s %10d %8s  %s\n' "$tool" "$t" "$(ratio "$t" "$jt")" "$c" "$(ratio "$c" "$jc")" \
      "$m" "$(ratio "$m" "$jm")" "$same"
  done
done
