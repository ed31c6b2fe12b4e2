#!/usr/bin/env bash
# The program opens its 640x400 window with its caption, shows the help
# screen, goes to the selector on the first key, and Escape there ends it
# with exit code 0.
# programs: tarplay tarplay8 tarplay_pd
. "$(dirname "$0")/lib.sh"

mkdir -p "$E2E_TMP/tunes"
start_tarplay "$E2E_TMP/tunes"

caption="tarlin synth sound player b20120708"
[ "${TARPLAY_PROGRAM:-tarplay}" = tarplay_pd ] && caption="tarlin synth sound player b20091123"
name=$(xdotool getwindowname "$E2E_WID")
[ "$name" = "$caption" ] || fail "caption is '$name'"
geometry=$(xdotool getwindowgeometry "$E2E_WID" | awk '/Geometry/ { print $2 }')
[ "$geometry" = "640x400" ] || fail "window is $geometry"

screenshot "$E2E_TMP/help.png"
size=$(identify -format '%wx%h' "$E2E_TMP/help.png")
[ "$size" = "640x400" ] || fail "screenshot is $size"
# Banner on rows 0-5, an empty row, the key list from row 7 (twelve lines in
# tarplay, seven in tarplay8, nineteen with the greetings in tarplay_pd, one
# of them empty), an empty row, "Plugins found:" and the two players,
# nothing below.
keylines=12
[ "${TARPLAY_PROGRAM:-tarplay}" = tarplay8 ] && keylines=7
[ "${TARPLAY_PROGRAM:-tarplay}" = tarplay_pd ] && keylines=19
last=$(( 6 + keylines ))
for row in 0 1 2 3 4 5 7 8 $last $(( last + 2 )) $(( last + 3 )) $(( last + 4 )); do
    row_lit "$E2E_TMP/help.png" "$row" || fail "help row $row is empty"
done
for row in 6 $(( last + 1 )) $(( last + 5 )) 30 49; do
    if row_lit "$E2E_TMP/help.png" "$row"; then fail "row $row should be empty"; fi
done

# The first key leaves the help screen for the selector, which shows the
# title bar on row 0 and nothing on row 1.
key space
sleep 0.3
screenshot "$E2E_TMP/selector.png"
row_lit "$E2E_TMP/selector.png" 0 || fail "no title bar in the selector"
if row_lit "$E2E_TMP/selector.png" 1; then fail "selector row 1 should be blank"; fi
if row_lit "$E2E_TMP/selector.png" 7; then fail "the help text is still shown"; fi

key Escape
wait_exit 10
[ "$E2E_EXIT" = 0 ] || fail "exit code $E2E_EXIT"
echo "startup: ok"
