#!/bin/sh
# Builds the Debian package from the build folder ($1), unpacks it into a scratch root and runs
# the installed command-line program there: it must find its language files through the
# installed layout and search.
set -eu
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null) || fail "cpack"
deb="$(ls "$work"/out/twinex_*.deb)"
dpkg-deb -c "$deb" > "$work/list"
dpkg -x "$deb" "$work/root"
for f in usr/bin/twinex-cli usr/share/twinex/lang/lang_eng.txt usr/share/applications/twinex.desktop \
         usr/share/icons/hicolor/scalable/apps/twinex.svg usr/share/man/man1/twinex-cli.1.gz \
         usr/share/man/man1/twinex.1.gz; do
  [ -e "$work/root/$f" ] || fail "missing $f"
done
if [ -e "$build/twinex" ]; then [ -x "$work/root/usr/bin/twinex" ] || fail "missing usr/bin/twinex"; fi
! grep -q 'usr/bin/lang' "$work/list" || fail "language files beside the programs"
dpkg-deb -f "$deb" Depends | grep -q 'libsqlite3' || fail "no library dependencies"

# English captions come from share/twinex/lang/lang_eng.txt.
cli="$work/root/usr/bin/twinex-cli"
env -i HOME="$work/home" XDG_DATA_HOME="$work/data" LANG=C.UTF-8 PATH=/usr/bin:/bin "$cli" --help > "$work/help"
grep -q 'Select all files except the newest file in each group' "$work/help" || fail "language file not found"
zcat "$work/root/usr/share/man/man1/twinex-cli.1.gz" | grep -q -- '--settings FILE' || fail "manual page"

mkdir -p "$work/files/a" "$work/files/b"
printf 'same' > "$work/files/a/x"
printf 'same' > "$work/files/b/y"
env -i HOME="$work/home" XDG_DATA_HOME="$work/data" LANG=C.UTF-8 PATH=/usr/bin:/bin \
  "$cli" --yes -s34 -c2 "$work/files" > "$work/report" 2>/dev/null || fail "search"
grep -q "$work/files/a" "$work/report" || fail "search report"
echo "package $(basename "$deb"): $(du -k "$deb" | cut -f1) KB"
