#!/usr/bin/env bash
# Muting: a three-voice SID tune is heard through SDL's disk audio driver;
# after i, o and p mute its three voices the captured sound is silent, and
# unmuting them brings sound back.
. "$(dirname "$0")/lib.sh"

demo=$(ls "$TARPLAY_BUILD"/demo/*.sid 2>/dev/null | head -n 1 || true)
[ -n "$demo" ] || fail "no demo SID tune in $TARPLAY_BUILD/demo"
mkdir -p "$E2E_TMP/tunes"
cp "$demo" "$E2E_TMP/tunes/"

capture_sound

start_tarplay "$E2E_TMP/tunes"
key space Down Return
sleep 1.5
a=$(size); sleep 2; b=$(size)
p=$(peak "$a" "$b")
[ "$p" -gt 1000 ] || fail "the tune is silent before muting (peak $p)"

key i o p
sleep 1
a=$(size); sleep 2; b=$(size)
p=$(peak "$a" "$b")
[ "$p" = 0 ] || fail "sound with all three voices muted (peak $p)"

key i o p
sleep 1
a=$(size); sleep 2; b=$(size)
p=$(peak "$a" "$b")
[ "$p" -gt 1000 ] || fail "silent after unmuting (peak $p)"

key Escape Escape
wait_exit 10
[ "$E2E_EXIT" = 0 ] || fail "exit code $E2E_EXIT"
echo "play_mute: ok ($(basename "$demo"))"
