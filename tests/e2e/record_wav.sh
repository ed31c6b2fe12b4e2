#!/usr/bin/env bash
# F2 renders a tune to <name>.wav: the header's sizes match the data, a SID
# tune's length is the first tick at or past its length from Songlengths.txt
# (in tarplay_pd, which reads no song lengths, its five minutes in ticks)
# rounded up to whole 4096-frame blocks, and a second recording of a tune or
# a module, with something else played in between, is byte for byte the same
# as the first.
# programs: tarplay tarplay8 tarplay_pd
. "$(dirname "$0")/lib.sh"

db="$TARPLAY_BUILD/demo/Songlengths.txt"
[ -f "$db" ] || fail "no $db"
# The shortest demo SID tune whose first song is timed by the video
# interrupt (speed bit 0 clear: 50 ticks, 882 frames each) and listed in the
# song-length file.
tune= seconds=
for f in "$TARPLAY_BUILD"/demo/*.sid; do
    [ -f "$f" ] || continue
    speed=$(od -An -tu1 -j21 -N1 "$f" | tr -d ' ')
    [ $(( speed & 1 )) = 0 ] || continue
    entry=$(awk -v n="; /$(basename "$f")" '$0 == n { getline; sub(/^[^=]*=/, ""); print $1; exit }' "$db")
    [ -n "$entry" ] || continue
    s=$(( 10#${entry%%:*} * 60 + 10#${entry#*:} ))
    if [ -z "$seconds" ] || [ "$s" -lt "$seconds" ]; then tune=$f; seconds=$s; fi
done
[ -n "$tune" ] || fail "no suitable demo SID tune"
name=$(basename "$tune" .sid)

ahx=$(ls "$TARPLAY_BUILD"/demo/*.ahx 2>/dev/null | head -n 1 || true)
[ -n "$ahx" ] || fail "no demo AHX module"

mkdir -p "$E2E_TMP/tunes"
cp "$tune" "$db" "$ahx" "$E2E_TMP/tunes/"

rate=44100
if [ "${TARPLAY_PROGRAM:-tarplay}" = tarplay_pd ]; then
    # 15000 ticks of 960 frames: the tune is over at the tick that reaches
    # 15000, which runs at the start of frame 14999 * 960.
    rate=48000
    seconds=300
    firsttick=$(( 14999 * 960 ))
else
    songframes=$(( seconds * 44100 ))
    firsttick=$(( (songframes + 881) / 882 * 882 ))
fi
expected=$(( (firsttick / 4096 + 1) * 4096 ))

# position FILE: the file's index in the listing (the parent entry is 0).
position() {
    local i
    i=$(cd "$E2E_TMP/tunes" && ls | grep -i -E '\.(sid|ahx)$' | LC_ALL=C sort -f | grep -n -x -F "$1" | cut -d: -f1)
    echo "$i"
}

# record FILE: F2 on the tune, then waits until the WAV's sizes are patched;
# leaves the file's path in $wav.
record() {
    local base=${1%.*} i
    wav="$E2E_TMP/tunes/$base.wav"
    rm -f "$wav"
    key Home
    for _ in $(seq 1 "$(position "$1")"); do key Down; done
    key F2
    for _ in $(seq 1 8000); do
        if [ -f "$wav" ] && [ "$(stat -c %s "$wav")" -ge 44 ] && [ "$(le32 "$wav" 4)" != 0 ]; then return 0; fi
        if ! kill -0 "$E2E_PID" 2>/dev/null; then fail "the program ended while recording"; fi
        sleep 0.1
    done
    fail "the recording of $1 did not finish"
}

# checksizes: both header sizes match the file, and the data is not silent.
checksizes() {
    local size
    size=$(stat -c %s "$wav")
    [ "$(head -c 4 "$wav")" = RIFF ] || fail "no RIFF tag"
    [ "$(le32 "$wav" 4)" = $((size - 8)) ] || fail "RIFF size $(le32 "$wav" 4) for a file of $size bytes"
    [ "$(le32 "$wav" 40)" = $((size - 44)) ] || fail "data size $(le32 "$wav" 40) for a file of $size bytes"
    [ "$(le32 "$wav" 24)" = "$rate" ] || fail "sample rate $(le32 "$wav" 24)"
    [ "$(le32 "$wav" 28)" = $(( rate * 4 )) ] || fail "byte rate $(le32 "$wav" 28)"
    [ $(( (size - 44) % 16384 )) = 0 ] || fail "not whole 4096-frame blocks: $size bytes"
    local amp
    amp=$(sox "$wav" -n stat 2>&1 | awk '/Maximum amplitude/ { print $3 }')
    awk -v p="$amp" 'BEGIN { exit !(p > 0.01) }' || fail "the recording is silent ($amp)"
}

start_tarplay "$E2E_TMP/tunes"
key space

sidfile=$(basename "$tune")
record "$sidfile"
checksizes
frames=$(wav_frames "$wav")
[ "$frames" = "$expected" ] || fail "$frames frames, expected $expected for $seconds s"
cp "$wav" "$E2E_TMP/firstsid.wav"

if [ "${TARPLAY_PROGRAM:-tarplay}" = tarplay_pd ]; then
    # Every recording there takes the full five minutes: one is enough.
    key Escape
    wait_exit 10
    [ "$E2E_EXIT" = 0 ] || fail "exit code $E2E_EXIT"
    echo "record_wav: ok ($sidfile: $frames frames at 48000)"
    exit 0
fi

ahxfile=$(basename "$ahx")
record "$ahxfile"
checksizes
cp "$wav" "$E2E_TMP/first.wav"
# Play something in between, then record the module again.
key Home Down Return
sleep 1
key Escape
record "$ahxfile"
cmp -s "$wav" "$E2E_TMP/first.wav" || fail "the second recording of $ahxfile differs from the first"
record "$sidfile"
cmp -s "$wav" "$E2E_TMP/firstsid.wav" || fail "the second recording of $sidfile differs from the first"

key Escape
wait_exit 10
[ "$E2E_EXIT" = 0 ] || fail "exit code $E2E_EXIT"
echo "record_wav: ok ($sidfile: $seconds s, $frames frames; both recorded twice)"
