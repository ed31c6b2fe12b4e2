#!/usr/bin/env bash
# Muting: a three-voice SID tune is heard through SDL's disk audio driver;
# after the mute keys of its three voices (i, o and p in tarplay, 1, 2 and 3
# in tarplay8) the captured sound is silent, and unmuting them brings sound
# back.
# programs: tarplay tarplay8
. "$(dirname "$0")/lib.sh"

demo=$(ls "$TARPLAY_BUILD"/demo/*.sid 2>/dev/null | head -n 1 || true)
[ -n "$demo" ] || fail "no demo SID tune in $TARPLAY_BUILD/demo"
mkdir -p "$E2E_TMP/tunes"
cp "$demo" "$E2E_TMP/tunes/"
mutekeys="i o p"
[ "${TARPLAY_PROGRAM:-tarplay}" = tarplay8 ] && mutekeys="1 2 3"

capture_sound

start_tarplay "$E2E_TMP/tunes"
key space Down Return
sleep 1.5
a=$(size); sleep 2; b=$(size)
p=$(peak "$a" "$b")
[ "$p" -gt 1000 ] || fail "the tune is silent before muting (peak $p)"

key $mutekeys
sleep 1
a=$(size); sleep 2; b=$(size)
p=$(peak "$a" "$b")
[ "$p" = 0 ] || fail "sound with all three voices muted (peak $p)"

key $mutekeys
sleep 1
a=$(size); sleep 2; b=$(size)
p=$(peak "$a" "$b")
[ "$p" -gt 1000 ] || fail "silent after unmuting (peak $p)"

key Escape Escape
wait_exit 10
[ "$E2E_EXIT" = 0 ] || fail "exit code $E2E_EXIT"
echo "play_mute: ok ($(basename "$demo"))"
