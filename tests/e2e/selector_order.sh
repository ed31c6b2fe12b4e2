#!/usr/bin/env bash
# The selector lists a prepared folder in its order (parent, directories,
# then tunes, each ignoring letter case), walks into a directory and back
# onto it, and finds entries by typing. Which entry the cursor is on is read
# back from the WAV file that F2 writes for it (each recording cut short by a
# key).
. "$(dirname "$0")/lib.sh"

demo=$(ls "$TARPLAY_BUILD"/demo/*.ahx 2>/dev/null | head -n 1 || true)
[ -n "$demo" ] || fail "no demo AHX module in $TARPLAY_BUILD/demo"

top="$E2E_TMP/tunes"
mkdir -p "$top/Alpha" "$top/beta" "$top/Cdir"
for n in Zed.ahx apple.AHX Mango.ahx banana.ahx; do cp "$demo" "$top/$n"; done
cp "$demo" "$top/Alpha/inner.ahx"
cp "$demo" "$top/skip.ahx.bak"
echo "not a tune" >"$top/notes.txt"

# record_here DIR NAME: F2 on the entry under the cursor, a key to cut the
# recording short, then waits for DIR/NAME.wav to be finished and checks
# that it is the only WAV file there.
record_here() {
    local dir=$1 name=$2 wav="$1/$2.wav"
    key F2 space
    for _ in $(seq 1 100); do
        if [ -f "$wav" ] && [ "$(stat -c %s "$wav")" -ge 44 ] && [ "$(le32 "$wav" 4)" != 0 ]; then break; fi
        sleep 0.1
    done
    [ -f "$wav" ] || fail "F2 did not record $name (found: $(cd "$dir" && ls -- *.wav 2>/dev/null | tr '\n' ' '))"
    [ "$(le32 "$wav" 4)" != 0 ] || fail "$name.wav was not finished"
    local all
    all=$(cd "$dir" && ls -- *.wav | tr '\n' ' ')
    [ "$all" = "$name.wav " ] || fail "expected only $name.wav, found $all"
    rm -f "$wav"
}

start_tarplay "$top"
key space   # leaves the help screen

# <..>, <Alpha>, <beta>, <Cdir>, apple.AHX, banana.ahx, Mango.ahx, Zed.ahx
index=4
for name in apple banana Mango Zed; do
    key Home
    for _ in $(seq 1 "$index"); do key Down; done
    record_here "$top" "$name"
    index=$((index + 1))
done
# Nothing follows the last tune: Down stays on it.
key End Down
record_here "$top" Zed

# Into Alpha: its list is <..>, inner.ahx.
key Home Down Return
key Down
record_here "$top/Alpha" inner
# Backspace on <..> goes back up and leaves the cursor on Alpha, three
# entries above apple.AHX.
key Home BackSpace
key Down Down Down
record_here "$top" apple

# Typing finds names in any letter case: "m" finds Mango.ahx; "b" finds the
# directory beta first and "ba" then banana.ahx.
key Home m
record_here "$top" Mango
key Home b a
record_here "$top" banana

key Escape
wait_exit 10
[ "$E2E_EXIT" = 0 ] || fail "exit code $E2E_EXIT"
echo "selector_order: ok"
