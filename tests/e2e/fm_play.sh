#!/usr/bin/env bash
# tarplay8's play screen: the oscilloscope shows the trace alone (no wave
# values on row 16, no grid), the mouse edits nothing, and a right click
# leaves the play screen for the selector, as Escape does.
# programs: tarplay8
. "$(dirname "$0")/lib.sh"

demo=$(ls "$TARPLAY_BUILD"/demo/*.sid 2>/dev/null | head -n 1 || true)
[ -n "$demo" ] || fail "no demo SID tune in $TARPLAY_BUILD/demo"
mkdir -p "$E2E_TMP/tunes"
cp "$demo" "$E2E_TMP/tunes/"

capture_sound
start_tarplay "$E2E_TMP/tunes"
key space Down Return
sleep 1.5
screenshot "$E2E_TMP/scope.png"
row_lit "$E2E_TMP/scope.png" 1 || fail "no status line on the play screen"
if row_lit "$E2E_TMP/scope.png" 16; then fail "wave values shown on row 16"; fi
# The grid's columns would be lit from top to bottom of the scope area; the
# trace lights at most a few pixels of a column.
lit=$(convert "$E2E_TMP/scope.png" -crop "1x240+96+144" +repage -colorspace Gray -threshold 0 -format '%[fx:mean*240]' info:)
awk -v n="$lit" 'BEGIN { exit !(n < 40) }' || fail "a grid column is drawn ($lit pixels lit)"

# A left click in the wave editor's area changes nothing in tarplay8 and
# keeps the tune playing; a right click leaves.
click 100 200 1
a=$(size); sleep 1.5; b=$(size)
p=$(peak "$a" "$b")
[ "$p" -gt 1000 ] || fail "the tune is silent (peak $p)"
click 300 200 3
sleep 0.5
screenshot "$E2E_TMP/back.png"
if row_lit "$E2E_TMP/back.png" 1; then fail "still on the play screen after a right click"; fi
row_lit "$E2E_TMP/back.png" 25 || fail "no cursor bar: not back in the selector"

key Escape
wait_exit 10
[ "$E2E_EXIT" = 0 ] || fail "exit code $E2E_EXIT"
echo "fm_play: ok"
