#!/usr/bin/env bash
# Byte-by-byte comparison (-s34 -c0) of many files of one size: N files of SIZE bytes, a tenth
# of them exact copies, the rest distinct (differing in the middle only, or at the start).
# Prints the wall time and the search's file-comparison count.
#   bench/byte_compare.sh [N] [SIZE]   (defaults 20000 and 65536)
# Environment: CLI (default build/twinex-cli).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
n="${1:-20000}"
size="${2:-65536}"
cli="${CLI:-$root/build/twinex-cli}"
[ -x "$cli" ] || "$root/scripts/build" >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data" LC_ALL=C.UTF-8 LC_MESSAGES=

python3 - "$work/tree" "$n" "$size" <<'PY'
import os, sys
root, n, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
for i in range(n):
    folder = os.path.join(root, "d%03d" % (i // 500))
    os.makedirs(folder, exist_ok=True)
    k = i - i % 10 if i % 10 == 9 else i  # every tenth file copies its neighbour
    data = bytearray(b"x" * size)
    where = size // 2 if k % 2 else 0
    data[where:where + 8] = k.to_bytes(8, "little")
    with open(os.path.join(folder, "f%06d" % i), "wb") as f:
        f.write(data)
PY

start=$(date +%s.%N)
"$cli" --no -s34 -c0 "$work/tree" >"$work/out.txt" 2>"$work/log.txt" || true
end=$(date +%s.%N)
printf 'files %s of %s bytes: %.2f s\n' "$n" "$size" "$(echo "$end - $start" | bc)"
grep -iE "comparisons|Dateivergleiche|groups|Gruppen" "$work/log.txt" "$work/out.txt" | head -5 || true
