#!/usr/bin/env bash
# The screen shown larger: on a large desktop the first start takes 2x (the
# largest window within three quarters of it); the 2x window scaled down is
# the 1x window; full screen keeps the desktop's size and shows the screen
# at 3x centred on black, which scaled down is the 1x window again; the
# choices are remembered for the next start.
# programs: tarplay tarplay_pd
E2E_SCREEN=2048x1536x24
. "$(dirname "$0")/lib.sh"

mkdir -p "$E2E_TMP/tunes"
start_tarplay "$E2E_TMP/tunes"
geometry() { xdotool getwindowgeometry "$E2E_WID" | awk '/Geometry/ { print $2 }'; }
# Pixels that differ between two pictures of one size.
differ() { compare -metric AE "$1" "$2" null: 2>&1 || true; }

[ "$(geometry)" = "1280x800" ] || fail "first start: window is $(geometry), not 1280x800"
key space
sleep 0.3
screenshot "$E2E_TMP/two.png"

# The selector holds still: Alt+1 shows the same screen at 1x.
xdotool key --clearmodifiers alt+1
sleep 0.5
[ "$(geometry)" = "640x400" ] || fail "Alt+1: window is $(geometry)"
screenshot "$E2E_TMP/one.png"
convert "$E2E_TMP/two.png" -sample 50% "$E2E_TMP/two-down.png"
n=$(differ "$E2E_TMP/one.png" "$E2E_TMP/two-down.png")
[ "$n" = 0 ] || fail "2x scaled down differs from 1x in $n pixels"
# Every 2x2 block is one colour: sampling from the other corner agrees.
convert "$E2E_TMP/two.png" -roll -1-1 -sample 50% "$E2E_TMP/two-other.png"
n=$(differ "$E2E_TMP/one.png" "$E2E_TMP/two-other.png")
[ "$n" -lt 640 ] || fail "2x blocks are not whole: $n pixels differ"

# Full screen at the desktop's size, 3x (1920x1200) centred on black.
xdotool key --clearmodifiers alt+Return
sleep 1
import -window root "$E2E_TMP/full.png" 2>/dev/null || fail "screenshot failed"
convert "$E2E_TMP/full.png" -crop 1920x1200+64+168 +repage -sample 33.3333% "$E2E_TMP/full-down.png"
[ "$(identify -format '%wx%h' "$E2E_TMP/full-down.png")" = 640x400 ] || fail "full screen crop is not 640x400"
n=$(differ "$E2E_TMP/one.png" "$E2E_TMP/full-down.png")
[ "$n" = 0 ] || fail "full screen scaled down differs from 1x in $n pixels"
for border in 2048x168+0+0 64x1536+0+0 64x1536+1984+0 2048x168+0+1368; do
    lit=$(convert "$E2E_TMP/full.png" -crop "$border" +repage -format '%[fx:maxima]' info:)
    awk -v m="$lit" 'BEGIN { exit !(m == 0) }' || fail "border $border is not black"
done

xdotool key --clearmodifiers alt+Return
sleep 0.5
[ "$(geometry)" = "640x400" ] || fail "back from full screen: window is $(geometry)"
key Escape
wait_exit 10
[ "$E2E_EXIT" = 0 ] || fail "exit code $E2E_EXIT"
grep -qx "scale=1" "$XDG_CONFIG_HOME/tarplay/settings" || fail "the scale was not remembered"

# The next start opens at the scale chosen last.
start_tarplay "$E2E_TMP/tunes"
[ "$(geometry)" = "640x400" ] || fail "second start: window is $(geometry)"
key space Escape
wait_exit 10
echo "scale: ok"
