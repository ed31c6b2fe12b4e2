#!/usr/bin/env bash
# One Windows player end to end under Wine, in a real window under Xvfb: it
# starts with its caption and the help screen, a key leads to the selector,
# F2 on a demo module renders <name>.wav into the current folder (the sizes
# in its header match the file, which also shows it was written in binary
# mode, the rate is the player's, the sound is not silent), and Esc ends it
# with exit code 0.
#   WINEPREFIX=... tests/win32/e2e.sh BUILD PROGRAM.exe
. "$(dirname "$0")/../e2e/lib.sh"
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
exe=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
program=$(basename "$exe" .exe)
rate=44100
[ "$program" != tarplay_pd ] || rate=48000

# start_wine DIR: the program with DIR as its working folder, its standard
# output in the log; waits for its window. SDL's own choice of sound output
# on Windows (DirectSound) fails under Wine without falling back.
start_wine() {
    (
        cd "$1"
        export SDL_AUDIODRIVER=dummy SDL_STDIO_REDIRECT=0
        unset SDL_VIDEODRIVER
        exec "$top/scripts/wine-run" "$exe"
    ) >"$E2E_TMP/stdout" 2>&1 &
    E2E_PID=$!
    wait_window
}

# Wine draws the window's frame itself (no window manager): the 640x400
# client area sits inside it, with equal borders left, right and below.
screenshot() {
    local size w h border
    import -window "$E2E_WID" "$E2E_TMP/frame.png" 2>/dev/null || fail "screenshot failed"
    size=$(identify -format '%w %h' "$E2E_TMP/frame.png")
    w=${size% *} h=${size#* }
    border=$(( (w - 640) / 2 ))
    [ "$border" -ge 0 ] && [ $(( h - 400 - border )) -ge 0 ] || fail "window is ${w}x${h}"
    convert "$E2E_TMP/frame.png" -crop "640x400+$border+$(( h - 400 - border ))" +repage "$1"
}

module=$(ls "$build"/demo/*.ahx 2>/dev/null | head -n 1 || true)
[ -n "$module" ] || fail "no demo module in $build/demo"
mkdir -p "$E2E_TMP/tunes"
cp "$module" "$E2E_TMP/tunes/"
name=$(basename "$module" .ahx)

start_wine "$E2E_TMP/tunes"
caption=$(xdotool getwindowname "$E2E_WID")
expected="tarlin synth sound player b20120708"
[ "$program" != tarplay_pd ] || expected="tarlin synth sound player b20091123"
[ "$caption" = "$expected" ] || fail "caption is '$caption'"

screenshot "$E2E_TMP/help.png"
# The key lists differ in length: "Plugins found:" is on row 20 in tarplay,
# 15 in tarplay8; tarplay_pd's longer help reaches further down.
lit="0 1 2 7 20" empty="6 30 49"
[ "$program" != tarplay8 ] || lit="0 1 2 7 15"
[ "$program" != tarplay_pd ] || { lit="0 1 2 7"; empty="6 49"; }
for row in $lit; do
    row_lit "$E2E_TMP/help.png" "$row" || fail "help row $row is empty"
done
for row in $empty; do
    if row_lit "$E2E_TMP/help.png" "$row"; then fail "help row $row should be empty"; fi
done

key space
sleep 0.3
screenshot "$E2E_TMP/selector.png"
row_lit "$E2E_TMP/selector.png" 0 || fail "no title bar in the selector"
if row_lit "$E2E_TMP/selector.png" 7; then fail "the help text is still shown"; fi

# The listing is <..> and the module: one step down, then F2.
wav="$E2E_TMP/tunes/$name.wav"
key Home Down F2
for _ in $(seq 1 600); do
    if [ -f "$wav" ] && [ "$(stat -c %s "$wav")" -ge 44 ] && [ "$(le32 "$wav" 4)" != 0 ]; then break; fi
    if ! kill -0 "$E2E_PID" 2>/dev/null; then fail "the program ended while recording"; fi
    sleep 0.1
done
[ -f "$wav" ] || fail "no $name.wav was written"
size=$(stat -c %s "$wav")
[ "$(head -c 4 "$wav")" = RIFF ] || fail "no RIFF tag"
[ "$(le32 "$wav" 4)" = $(( size - 8 )) ] || fail "RIFF size $(le32 "$wav" 4) for a file of $size bytes"
[ "$(le32 "$wav" 40)" = $(( size - 44 )) ] || fail "data size $(le32 "$wav" 40) for a file of $size bytes"
[ "$(le32 "$wav" 24)" = "$rate" ] || fail "sample rate $(le32 "$wav" 24), expected $rate"
[ "$size" -gt $(( 44 + rate * 4 )) ] || fail "only $size bytes recorded"
amp=$(sox "$wav" -n stat 2>&1 | awk '/Maximum amplitude/ { print $3 }')
awk -v p="$amp" 'BEGIN { exit !(p > 0.01) }' || fail "the recording is silent ($amp)"

key Escape
wait_exit 20
[ "$E2E_EXIT" = 0 ] || fail "exit code $E2E_EXIT"
echo "$program: ok (window, help, selector, $name.wav of $(( (size - 44) / 4 )) frames at $rate, exit 0)"
