#!/usr/bin/env bash
# Muting: a three-voice SID tune is heard through SDL's disk audio driver;
# after i, o and p mute its three voices the captured sound is silent, and
# unmuting them brings sound back.
. "$(dirname "$0")/lib.sh"

demo=$(ls "$TARPLAY_BUILD"/demo/*.sid 2>/dev/null | head -n 1 || true)
[ -n "$demo" ] || fail "no demo SID tune in $TARPLAY_BUILD/demo"
mkdir -p "$E2E_TMP/tunes"
cp "$demo" "$E2E_TMP/tunes/"

audio="$E2E_TMP/audio.raw"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio" SDL_DISKAUDIODELAY=40

peak() {
    local from=$(( $1 / 4 * 4 )) to=$(( $2 / 4 * 4 ))
    [ "$to" -gt "$from" ] || fail "no sound was captured between $1 and $2"
    tail -c +"$((from + 1))" "$audio" | head -c "$((to - from))" |
        od -An -v -td2 -w2 | awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }'
}
size() { stat -c %s "$audio"; }

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
