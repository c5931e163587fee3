#!/usr/bin/env bash
# Size + SHA-1 search of twinex-cli against the duplicate finders of Debian (jdupes, rmlint,
# fdupes, rdfind) on two trees, warm cache, side by side: wall time and peak memory, best of
# $RUNS runs, as ratios against jdupes; and a check that every tool found the same files.
#   bench/peers.sh            (trees are made under build/bench when missing)
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

# Prints "seconds peak-KiB" of the best run (by wall time).
measure() {
  local best="" line
  for _ in $(seq "$runs"); do
    /usr/bin/time -o "$work/time.txt" -f '%e %M' "$@" >/dev/null 2>&1 || true
    line=$(tail -n 1 "$work/time.txt")
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
    rmlint) (cd "$work" && rmlint -o fdupes:stdout "$2" 2>/dev/null) | grep -v '^$' | sed 's/^#* *//' ;;
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
  echo "== $(basename "$tree"): $(find "$tree" -type f | wc -l) files, $(du -sh "$tree" | cut -f1)"
  find "$tree" -type f -exec cat {} + >/dev/null  # warm the cache
  files_of jdupes "$tree" > "$work/expected.txt"
  read -r jt jm <<<"$(run_peer jdupes "$tree")"
  printf '%-8s %8s %8s %10s %8s  %s\n' tool "wall s" "x jdupes" "peak KiB" "x jdupes" "same files"
  for tool in twinex jdupes rmlint fdupes rdfind; do
    command -v "$tool" >/dev/null 2>&1 || [ "$tool" = twinex ] || { echo "$tool: not installed"; continue; }
    read -r t m <<<"$(run_peer "$tool" "$tree")"
    same=$(files_of "$tool" "$tree" | cmp -s - "$work/expected.txt" && echo yes || echo NO)
    printf '%-8s %8.2f %8.2f %10d %8.2f  %s\n' "$tool" "$t" "$(awk -v a="$t" -v b="$jt" 'BEGIN{print a/b}')" \
      "$m" "$(awk -v a="$m" -v b="$jm" 'BEGIN{print a/b}')" "$same"
  done
done
