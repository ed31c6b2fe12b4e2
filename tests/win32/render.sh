#!/usr/bin/env bash
# tarplay-render.exe under Wine: the demo folder rendered through each
# program's worker, one tune at a time, with a fixed seed and length; every
# file must be byte for byte what the Linux build's tarplay-render writes
# for the same command (which its own tests hold to F2's recordings).
#   WINEPREFIX=... tests/win32/render.sh BUILD LINUXBUILD
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
linux=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -p "$tmp/demo"
cp "$build"/demo/*.sid "$build"/demo/*.ahx "$tmp/demo/"
cp "$build/demo/Songlengths.txt" "$tmp/"
mapfile -t programs <"$build/programs.txt"
for p in "${programs[@]}"; do
    # Relative paths: Wine's programs see the folder they start in.
    (cd "$tmp" && "$top/scripts/wine-run" "$build/tarplay-render.exe" --program "$p" --seed 7 --seconds 4 \
        --song all -o "win-$p" demo) >"$tmp/out" 2>&1 || fail "tarplay-render.exe --program $p: $(cat "$tmp/out")"
    n=$(find "$tmp/win-$p" -name '*.wav' | wc -l)
    [ "$n" -ge 5 ] || fail "$p: $n files rendered under Wine"
    (cd "$tmp" && "$linux/tarplay-render" --program "$p" --seed 7 --seconds 4 --song all -o "linux-$p" demo) >/dev/null ||
        fail "the Linux tarplay-render failed for $p"
    diff -r "$tmp/win-$p" "$tmp/linux-$p" >/dev/null || fail "$p: the Windows files differ from the Linux build's"
    echo "render: $p ok ($n files, the same as on Linux)"
done
# No libFLAC in the Windows build: asked for FLAC, it says so.
(cd "$tmp" && "$top/scripts/wine-run" "$build/tarplay-render.exe" --format flac demo) >"$tmp/out" 2>&1 && fail "--format flac was taken"
grep -q "WAV only" "$tmp/out" || fail "--format flac on Windows does not say that this build writes WAV only: $(cat "$tmp/out")"
echo "render: --format flac refused on Windows"
