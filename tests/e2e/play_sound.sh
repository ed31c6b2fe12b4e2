#!/usr/bin/env bash
# A tune chosen with Enter plays: the sound captured through SDL's disk
# audio driver is not silent while the play screen shows, and Escape goes
# back to the selector, after which the device writes only silence (or, in
# tarplay_pd, which closes the device with the tune, nothing at all).
# programs: tarplay tarplay8 tarplay_pd
. "$(dirname "$0")/lib.sh"

demo=$(ls "$TARPLAY_BUILD"/demo/*.ahx 2>/dev/null | head -n 1 || true)
[ -n "$demo" ] || fail "no demo AHX module in $TARPLAY_BUILD/demo"
mkdir -p "$E2E_TMP/tunes"
cp "$demo" "$E2E_TMP/tunes/"

capture_sound

start_tarplay "$E2E_TMP/tunes"
key space Down Return
sleep 1.5
screenshot "$E2E_TMP/playing.png"
row_lit "$E2E_TMP/playing.png" 1 || fail "no status line on the play screen"
a=$(size); sleep 2; b=$(size)
p=$(peak "$a" "$b")
[ "$p" -gt 1000 ] || fail "the tune is silent (peak $p)"

key Escape
sleep 0.5
screenshot "$E2E_TMP/back.png"
if row_lit "$E2E_TMP/back.png" 1; then fail "the status line is still shown after Escape"; fi
row_lit "$E2E_TMP/back.png" 25 || fail "no cursor bar: not back in the selector"
a=$(size); sleep 1; b=$(size)
if [ "${TARPLAY_PROGRAM:-tarplay}" = tarplay_pd ]; then
    [ "$a" = "$b" ] || fail "the device still runs after leaving the play screen"
else
    p=$(peak "$a" "$b")
    [ "$p" = 0 ] || fail "sound goes on after leaving the play screen (peak $p)"
fi

key Escape
wait_exit 10
[ "$E2E_EXIT" = 0 ] || fail "exit code $E2E_EXIT"
echo "play_sound: ok"
