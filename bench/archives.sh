#!/usr/bin/env bash
# Archive scanning against plain folders. A small corpus (2,000 files) lies loose and, beside it,
#   archives  packed into one zip, one 7z and one tar.gz
#   folders   the same three copies unpacked into folders
# Size + SHA-1 (-s34 -c2) over loose + archives against loose + folders, warm cache; prints the
# best wall time of $RUNS interleaved rounds, the ratio and the archive counters.
#   bench/archives.sh [WORK]   (default build/bench/archives, made when missing)
# Environment: RUNS (default 3), CLI (default build/twinex-cli), FILES (default 2000).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(realpath -m "${1:-$root/build/bench/archives}")"
cli="${CLI:-$root/build/twinex-cli}"
runs="${RUNS:-3}"
files="${FILES:-2000}"
[ -x "$cli" ] || "$root/scripts/build" >/dev/null

if [ ! -d "$work/archives" ]; then
  echo "making $work ..." >&2
  rm -rf "$work"
  python3 "$root/bench/make_corpus.py" "$work/corpus" --files "$files" --small-max 65536 >/dev/null
  mkdir -p "$work/archives" "$work/folders"
  cp -r "$work/corpus" "$work/archives/loose"
  cp -r "$work/corpus" "$work/folders/loose"
  (cd "$work/corpus" && 7zz a -bd -tzip "$work/archives/corpus.zip" . >/dev/null &&
     7zz a -bd -t7z "$work/archives/corpus.7z" . >/dev/null &&
     tar -czf "$work/archives/corpus.tar.gz" .)
  for copy in zip 7z targz; do cp -r "$work/corpus" "$work/folders/$copy"; done
fi

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
export XDG_DATA_HOME="$tmp/data" LC_ALL=C.UTF-8 LC_MESSAGES=de_DE.UTF-8
printf '[DupVerz]\r\nScanArchives=1\r\n1ScanArchive=1\r\n3ScanArchive=1\r\n6ScanArchive=1\r\nZipSizeFilter=0\r\nTempFolder=%s/temp\r\n' \
  "$tmp" >"$tmp/on.ini"

search() { "$cli" --no --settings "$tmp/on.ini" -s34 -c2 "$work/$1" >"$tmp/$1.out" 2>&1; }
seconds() {
  local t0 t1
  t0=$(date +%s.%N); "$@"; t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" 'BEGIN{printf "%.3f", b-a}'
}
least() { awk -v a="$1" -v b="$2" 'BEGIN{print (b == "" || a < b) ? a : b}'; }

search folders; search archives  # warm the page cache
best_f="" best_a=""
for round in $(seq "$runs"); do
  best_f=$(least "$(seconds search folders)" "$best_f")
  best_a=$(least "$(seconds search archives)" "$best_a")
done
echo "loose + folders:  ${best_f} s  ($(grep -m1 -o 'Duplikate: [0-9,]*' "$tmp/folders.out"))"
echo "loose + archives: ${best_a} s  ($(grep -m1 -o 'Duplikate: [0-9,]*' "$tmp/archives.out"))"
awk -v a="$best_a" -v f="$best_f" 'BEGIN{printf "archives / folders: %.2f\n", a/f}'
grep -E 'Durchsuchte Archive|Dateien aus Archiven|Entpackte Dateien' "$tmp/archives.out" | sed 's/^.* - //' | sort -u
