#!/usr/bin/env bash
# Similar music over generated tracks: each track is a melody of its own, saved as MP3 (128
# kbit/s) with a re-encoded copy (OGG), so every track forms one group of two.
#   one       one fingerprint program at a time (TWINEX_FINGERPRINT_CHILDREN=1)
#   pool      two at a time; the result must be the same as "one"
#   db first  the pool with the checksum database on and empty (stores every fingerprint)
#   db second the same search again: the fingerprints come from the database
# Prints wall seconds, fingerprints per second and the group and duplicate counts of each.
#   bench/similar_music.sh [FOLDER]   (default build/bench/music, made when missing)
# Environment: TRACKS (default 200), LENGTH in seconds (default 180), ANALYSE (the -l seconds,
# default 120), CLI (default build/twinex-cli).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tracks="${TRACKS:-200}"
length="${LENGTH:-180}"
analyse="${ANALYSE:-120}"
folder="$(realpath -m "${1:-$root/build/bench/music-$tracks-$length}")"
cli="${CLI:-$root/build/twinex-cli}"
[ -x "$cli" ] || "$root/scripts/build" >/dev/null
command -v ffmpeg >/dev/null || { echo "ffmpeg is missing (scripts/install-deps)" >&2; exit 1; }

make_track() {
  local i=$1 base=$((110 + ($1 * 7) % 330)) step=$((1 + $1 % 11)) tempo=$((2 + $1 % 5))
  local name; name=$(printf 'track%03d' "$i")
  [ -s "$folder/$name.ogg" ] && return
  ffmpeg -nostdin -v error -y -f lavfi \
    -i "aevalsrc=0.4*sin(2*PI*t*($base*pow(2\,mod(floor(t*$tempo)*$step\,12)/12))):s=44100:d=$length" \
    -ac 1 -b:a 128k "$folder/$name.mp3"
  ffmpeg -nostdin -v error -y -i "$folder/$name.mp3" -c:a libvorbis "$folder/$name.ogg"
}
mkdir -p "$folder"
echo "making $tracks tracks of $length s in $folder ..." >&2
export -f make_track; export folder length
seq 0 $((tracks - 1)) | xargs -P 2 -I{} bash -c 'make_track {}'

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME="$work/data" LC_ALL=C.UTF-8 LC_MESSAGES=
printf '[database]\r\nusedb=1\r\nusedbaudio=1\r\ncheckdate=1\r\nchecksize=1\r\n' >"$work/on.ini"
printf '[database]\r\nusedb=0\r\n' >"$work/off.ini"

# search NAME SETTINGS CHILDREN: runs the search, keeps its log and export, prints wall seconds.
search() {
  local t0 t1
  t0=$(date +%s.%N)
  TWINEX_FINGERPRINT_CHILDREN=$3 "$cli" --no --settings "$work/$2.ini" --export "$work/$1.csv" \
    -sa -a2 -m90 -l"$analyse" "$folder" >/dev/null 2>"$work/$1.log"
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" 'BEGIN{printf "%.2f", b-a}'
}
counts() { grep -E 'Groups: |Duplicates: ' "$work/$1.log" | tail -2 | sed 's/^.* - //' | tr '\n' ' '; }
files=$((tracks * 2))

one=$(search one off 1)
pool=$(search pool off 2)
"$cli" --yes --db-new >/dev/null 2>&1
first=$(search first on 2)
second=$(search second on 2)

echo "folder: $folder ($files files, $(du -sh "$folder" | cut -f1)), analysed seconds: $analyse, cores: $(nproc)"
printf '%-10s %8s s  %7s fingerprints/s  %s\n' \
  one "$one" "$(awk -v n=$files -v t="$one" 'BEGIN{printf "%.1f", n/t}')" "$(counts one)" \
  pool "$pool" "$(awk -v n=$files -v t="$pool" 'BEGIN{printf "%.1f", n/t}')" "$(counts pool)" \
  "db first" "$first" "$(awk -v n=$files -v t="$first" 'BEGIN{printf "%.1f", n/t}')" "$(counts first)" \
  "db second" "$second" "$(awk -v n=$files -v t="$second" 'BEGIN{printf "%.1f", n/t}')" "$(counts second)"
awk -v a="$one" -v b="$pool" 'BEGIN{printf "pool speed-up: %.2fx\n", a/b}'
for r in pool first second; do
  if cmp -s "$work/one.csv" "$work/$r.csv"; then echo "$r: same result as one at a time"; else echo "$r: RESULT DIFFERS"; fi
done
grep -hE 'Database checksums' "$work/second.log" | sed 's/^.* - /second search: /' || true
