# Helpers for the end-to-end tests: a private X server, the program in a real
# window, keys and mouse through xdotool, screenshots through ImageMagick.
# Source it from a test script; every test gets its own scratch folder and
# display, and everything is cleaned up on exit.
#
# Environment (set by ctest): TARPLAY_BIN, TARPLAY_BUILD, TARPLAY_SOURCE;
# E2E_SCREEN, set before sourcing, the X screen (1024x768x24 by default).

set -euo pipefail

E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/tarplay-e2e.XXXXXX")
E2E_XVFB_PID=
E2E_PID=
E2E_WID=
E2E_EXIT=
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
# The programs remember settings in the user's configuration folder: every
# test starts from none and never reads or writes the real user's.
export XDG_CONFIG_HOME="$E2E_TMP/config"

e2e_cleanup() {
    if [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; then
        kill "$E2E_PID" 2>/dev/null || true
        sleep 0.2
        kill -9 "$E2E_PID" 2>/dev/null || true
    fi
    if [ -n "$E2E_XVFB_PID" ]; then
        kill "$E2E_XVFB_PID" 2>/dev/null || true
    fi
    if [ -z "${E2E_KEEP:-}" ]; then rm -rf "$E2E_TMP"; else echo "kept $E2E_TMP"; fi
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${E2E_PID:-}" ] && [ -f "$E2E_TMP/stdout" ]; then
        echo "--- program output:" >&2
        tail -n 40 "$E2E_TMP/stdout" >&2 || true
    fi
    exit 1
}

# Starts Xvfb on a free display and exports DISPLAY. Tests running side by
# side take turns here (under a lock), so that two servers never race for
# the same display number.
start_xvfb() {
    local n
    exec 9>"${TMPDIR:-/tmp}/tarplay-e2e-xvfb.lock"
    flock 9
    for n in $(seq 20 400); do
        if [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; then continue; fi
        # -noreset: the probe below must not make the server reset (and refuse
        # connections for a moment) when it disconnects.
        Xvfb ":$n" -screen 0 "${E2E_SCREEN:-1024x768x24}" -nolisten tcp -noreset >"$E2E_TMP/xvfb.log" 2>&1 &
        E2E_XVFB_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 1 100); do
            if xdpyinfo >/dev/null 2>&1; then
                flock -u 9
                exec 9>&-
                return 0
            fi
            if ! kill -0 "$E2E_XVFB_PID" 2>/dev/null; then break; fi
            sleep 0.1
        done
        kill "$E2E_XVFB_PID" 2>/dev/null || true
        E2E_XVFB_PID=
    done
    fail "could not start Xvfb: $(cat "$E2E_TMP/xvfb.log")"
}

# start_tarplay DIR: starts the program with DIR as its working directory
# (SDL_AUDIODRIVER defaults to dummy; capture_sound before it records the
# sound) and waits for its window.
start_tarplay() {
    local dir=$1
    (
        cd "$dir"
        export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
        export SDL_VIDEODRIVER=x11
        exec "$TARPLAY_BIN"
    ) >"$E2E_TMP/stdout" 2>&1 &
    E2E_PID=$!
    wait_window
}

# wait_window: waits for the window of the program started as $E2E_PID and
# gives it the keyboard.
wait_window() {
    E2E_WID=
    for _ in $(seq 1 300); do
        E2E_WID=$(xdotool search --name "tarlin synth sound player" 2>/dev/null | head -n 1 || true)
        if [ -n "$E2E_WID" ]; then break; fi
        if ! kill -0 "$E2E_PID" 2>/dev/null; then fail "the program ended before its window appeared"; fi
        sleep 0.1
    done
    [ -n "$E2E_WID" ] || fail "no window appeared"
    xdotool windowfocus --sync "$E2E_WID" >/dev/null 2>&1 || xdotool windowfocus "$E2E_WID" || true
    sleep 0.5
}

# key KEYSYM...: presses each key in turn (X keysym names: Return, Escape,
# Down, F2, BackSpace, a, ...), with a pause for the program's 20 ms loops.
key() {
    local k
    for k in "$@"; do
        xdotool key --clearmodifiers "$k"
        sleep "${E2E_KEY_PAUSE:-0.15}"
    done
}

# click X Y BUTTON: a mouse click at window coordinates.
click() {
    xdotool mousemove --window "$E2E_WID" "$1" "$2" click "$3"
    sleep 0.15
}

# screenshot FILE: the 640x400 window as a PNG.
screenshot() {
    import -window "$E2E_WID" "$1" 2>/dev/null || fail "screenshot failed"
}

# row_lit FILE ROW: true when text row ROW (8 pixel rows) of a screenshot
# holds anything but black.
row_lit() {
    local mean
    mean=$(convert "$1" -crop "640x8+0+$(( $2 * 8 ))" +repage -colorspace Gray -format '%[fx:maxima]' info:)
    awk -v m="$mean" 'BEGIN { exit !(m > 0) }'
}

# capture_sound: from now on the program's sound goes through SDL's disk
# audio driver into $audio (signed 16-bit little-endian stereo).
capture_sound() {
    audio="$E2E_TMP/audio.raw"
    export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$audio" SDL_DISKAUDIODELAY=40
}

# peak FROM TO: the largest sample magnitude between two byte offsets of the
# captured sound.
peak() {
    local from=$(( $1 / 4 * 4 )) to=$(( $2 / 4 * 4 ))
    [ "$to" -gt "$from" ] || fail "no sound was captured between $1 and $2"
    # od reads the range itself: a tail cut short by head would die of SIGPIPE
    # once the growing file holds more than a pipe's worth past the range.
    od -An -v -td2 -w2 -j "$from" -N "$((to - from))" "$audio" | awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }'
}

# size: bytes captured so far.
size() { stat -c %s "$audio"; }

# wait_exit SECONDS: waits for the program to end; sets E2E_EXIT.
wait_exit() {
    local t=$(( $1 * 10 ))
    for _ in $(seq 1 "$t"); do
        if ! kill -0 "$E2E_PID" 2>/dev/null; then
            set +e
            wait "$E2E_PID"
            E2E_EXIT=$?
            set -e
            E2E_PID=
            return 0
        fi
        sleep 0.1
    done
    fail "the program did not end within $1 s"
}

# wav_frames FILE: number of frames in the data chunk of a 16-bit stereo WAV.
wav_frames() {
    echo $(( $(od -An -tu4 -j40 -N4 "$1" | tr -d ' ') / 4 ))
}

# le32 FILE OFFSET: an unsigned little-endian 32-bit field of a file.
le32() {
    od -An -tu4 -j"$2" -N4 "$1" | tr -d ' '
}

start_xvfb
