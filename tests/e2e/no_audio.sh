#!/usr/bin/env bash
# With an audio driver that does not exist, choosing a tune shows the
# "?Audio: ... ERROR" box, which a click does not dismiss and a key does,
# back to the selector, and so on every attempt; F2 still starts the tune's
# WAV file at 48000 frames per second.
# programs: tarplay_pd
. "$(dirname "$0")/lib.sh"

demo=$(ls "$TARPLAY_BUILD"/demo/*.ahx 2>/dev/null | head -n 1 || true)
[ -n "$demo" ] || fail "no demo AHX module in $TARPLAY_BUILD/demo"
mkdir -p "$E2E_TMP/tunes"
cp "$demo" "$E2E_TMP/tunes/"
name=$(basename "$demo" .ahx)

export SDL_AUDIODRIVER=nosuchaudiodriver
start_tarplay "$E2E_TMP/tunes"
key space
for attempt in 1 2; do
    key Home Down Return
    sleep 0.5
    screenshot "$E2E_TMP/box$attempt.png"
    # The box stands alone on a cleared screen: no title bar, no status line.
    row_lit "$E2E_TMP/box$attempt.png" 25 || fail "no message box (attempt $attempt)"
    if row_lit "$E2E_TMP/box$attempt.png" 0; then fail "no message box (attempt $attempt)"; fi
    if row_lit "$E2E_TMP/box$attempt.png" 1; then fail "the play screen shows (attempt $attempt)"; fi
    # A click does not dismiss the box; a key does.
    click 320 200 1
    sleep 0.3
    kill -0 "$E2E_PID" 2>/dev/null || fail "the program ended"
    screenshot "$E2E_TMP/clicked$attempt.png"
    if row_lit "$E2E_TMP/clicked$attempt.png" 0; then fail "a click dismissed the box (attempt $attempt)"; fi
    key space
    sleep 0.5
    screenshot "$E2E_TMP/back$attempt.png"
    row_lit "$E2E_TMP/back$attempt.png" 0 || fail "not back in the selector (attempt $attempt)"
    if row_lit "$E2E_TMP/back$attempt.png" 1; then fail "the play screen shows (attempt $attempt)"; fi
done

# The recording is not waited for (tarplay_pd records the whole five minutes
# and no key stops it; record_wav checks complete files): its header, written
# first into the file that becomes <name>.wav when complete, must already say
# 48000 frames per second.
key Home Down F2
wav=
for _ in $(seq 1 300); do
    wav=$(ls "$E2E_TMP/tunes/$name.wav"* 2>/dev/null | head -n 1 || true)
    if [ -n "$wav" ] && [ -f "$wav" ] && [ "$(stat -c %s "$wav")" -gt 44 ]; then break; fi
    kill -0 "$E2E_PID" 2>/dev/null || fail "the program ended while recording"
    sleep 0.1
done
[ -n "$wav" ] && [ -f "$wav" ] && [ "$(stat -c %s "$wav")" -gt 44 ] || fail "no recording was started"
[ "$(head -c 4 "$wav")" = RIFF ] || fail "no RIFF tag"
[ "$(le32 "$wav" 24)" = 48000 ] || fail "sample rate $(le32 "$wav" 24)"
[ "$(le32 "$wav" 28)" = 192000 ] || fail "byte rate $(le32 "$wav" 28)"
echo "no_audio: ok"
