#!/usr/bin/env bash
# Similar pictures: twinex-cli with aHash, dHash and pHash against findimagedupes on one folder
# of generated JPEGs (2-4 megapixels, every tenth with a planted resized and re-encoded copy).
# Prints pictures per second, groups, and the recall on the planted copies (a planted copy
# counts when it shares a group with its original) and the grouped pairs that were not planted.
#   COUNT=1000 bench/similar_pictures.sh       (default 1000; the folder is kept for reruns)
# Then the comparison step alone (similar_pictures_compare): pairs of packed hashes per second.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/build" "$build" >/dev/null
count="${COUNT:-1000}"
percent="${PERCENT:-90}"
work="${BENCH_DIR:-/tmp/twinex-bench-pictures}"
pics="$work/pics-$count"
mkdir -p "$pics"
if [ ! -s "$pics/truth.txt" ]; then
  echo "generating $count pictures in $pics ..." >&2
  "$build/similar_pictures_gen" "$pics" "$count"
fi
files=$(find "$pics" -name '*.jpg' | wc -l)

# Settings of their own: no checksum database (every picture is decoded), all pictures of one
# extension, no log files in the user's folders.
settings="$work/settings.ini"
printf '[database]\nusedb=0\n' >"$settings"

evaluate() {  # <groups file: one group per line, names separated by tabs>
  python3 - "$1" "$pics/truth.txt" <<'PY'
import sys, os
groups = [set(os.path.basename(n) for n in l.rstrip("\n").split("\t") if n) for l in open(sys.argv[1])]
truth = [l.rstrip("\n").split("\t") for l in open(sys.argv[2]) if l.strip()]
group_of = {}
for i, g in enumerate(groups):
    for n in g:
        group_of.setdefault(n, i)
found = sum(1 for a, b in truth if a in group_of and group_of.get(a) == group_of.get(b))
planted = {frozenset(p) for p in truth}
# Pairs inside groups that are not planted pairs (each group's members paired with its first).
extra = 0
for g in groups:
    members = sorted(g)
    for m in members[1:]:
        if frozenset((members[0], m)) not in planted and not any(frozenset((m, x)) in planted for x in members if x != m):
            extra += 1
print(f"{len(groups)}\t{found}/{len(truth)} ({100.0 * found / max(1, len(truth)):.1f} %)\t{extra}")
PY
}

# The CSV export (English headers) lists each file with its group number; one line per group.
twinex_groups() {  # <csv export> <out>
  python3 - "$1" "$2" <<'PY'
import sys
raw = open(sys.argv[1], "rb").read()
text = raw.decode("utf-16") if raw[:2] in (b"\xff\xfe", b"\xfe\xff") else raw.decode("utf-8", "replace")
groups = {}
lines = text.splitlines()
head = [c.strip('"') for c in lines[0].split("\t")]
gi, ni = head.index("Group no."), head.index("File")
for line in lines[1:]:
    cells = [c.strip('"') for c in line.split("\t")]
    if len(cells) > max(gi, ni):
        groups.setdefault(cells[gi], []).append(cells[ni])
with open(sys.argv[2], "w") as out:
    for g in groups.values():
        out.write("\t".join(g) + "\n")
PY
}

printf '| program | pictures | seconds | pictures/s | groups | planted copies found | unplanted pairs |\n'
printf '|---|---:|---:|---:|---:|---:|---:|\n'
for algo in "0 aHash" "2 dHash" "4 pHash"; do
  set -- $algo
  export_file="$work/export-$2.csv"
  rm -f "$export_file"
  start=$(date +%s.%N)
  LC_ALL=C.UTF-8 XDG_DATA_HOME="$work/data" "$build/twinex-cli" --settings "$settings" -s9 "-h$1" "-m$percent" "$pics" --export "$export_file" \
    --delimiter tab >/dev/null 2>"$work/twinex-$2.log" || true
  end=$(date +%s.%N)
  twinex_groups "$export_file" "$work/groups-$2.txt"
  secs=$(echo "$end - $start" | bc -l)
  IFS=$'\t' read -r groups recall extra < <(evaluate "$work/groups-$2.txt")
  printf '| twinex-cli %s %s %% | %d | %.1f | %.1f | %s | %s | %s |\n' "$2" "$percent" "$files" "$secs" \
    "$(echo "$files / $secs" | bc -l)" "$groups" "$recall" "$extra"
done

if command -v findimagedupes >/dev/null; then
  start=$(date +%s.%N)
  findimagedupes -q -t "${percent}%" -R "$pics" 2>/dev/null | tr ' ' '\t' >"$work/groups-fid.txt" || true
  end=$(date +%s.%N)
  secs=$(echo "$end - $start" | bc -l)
  IFS=$'\t' read -r groups recall extra < <(evaluate "$work/groups-fid.txt")
  printf '| findimagedupes %s %% | %d | %.1f | %.1f | %s | %s | %s |\n' "$percent" "$files" "$secs" \
    "$(echo "$files / $secs" | bc -l)" "$groups" "$recall" "$extra"
else
  echo "findimagedupes is not installed (apt-get install findimagedupes)" >&2
fi

# The comparison step alone: every pair of 20,000 hashes that match nothing.
echo
"$build/similar_pictures_compare" 20000 0 1
"$build/similar_pictures_compare" 20000 3 0
