#!/usr/bin/env bash
# The play screen's views as they reach the window: the oscilloscope with its
# grid and wave previews, the mouse reshaping the source preview only, the
# note display with its history, and the help text from row 17. With
# E2E_SHOTS set to a folder, the selector, note display and oscilloscope
# screenshots are copied there.
. "$(dirname "$0")/lib.sh"

mkdir -p "$E2E_TMP/tunes"
found=0
for f in "$TARPLAY_BUILD"/demo/*.ahx "$TARPLAY_BUILD"/demo/*.sid "$TARPLAY_BUILD"/demo/Songlengths.txt; do
    if [ -f "$f" ]; then cp "$f" "$E2E_TMP/tunes/"; found=1; fi
done
[ "$found" = 1 ] || fail "no demo tunes in $TARPLAY_BUILD/demo"
first=$(cd "$E2E_TMP/tunes" && ls | grep -i -E '\.(ahx|sid)$' | sort -f | head -n 1)

# colour FILE X Y: the pixel as r,g,b.
colour() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}
# differs A B X Y W H: true when the two screenshots differ inside the area.
differs() {
    local n
    n=$(compare -metric AE <(convert "$1" -crop "$5x$6+$3+$4" +repage png:-) \
                           <(convert "$2" -crop "$5x$6+$3+$4" +repage png:-) null: 2>&1 || true)
    [ "${n%% *}" != 0 ]
}
shots() { if [ -n "${E2E_SHOTS:-}" ]; then mkdir -p "$E2E_SHOTS"; cp "$1" "$E2E_SHOTS/$2"; fi; }

start_tarplay "$E2E_TMP/tunes"
key space
sleep 0.3
screenshot "$E2E_TMP/selector.png"
shots "$E2E_TMP/selector.png" selector.png
# The cursor on the first tune, then play it.
key Down Return
sleep 2.5

# Oscilloscope (the first view): grid lines of palette colour 64 at x = 96
# and 576, frame lines of colour 7 on pixel rows 136 and 391, nothing beside
# the grid line, and the two previews.
screenshot "$E2E_TMP/scope.png"
[ "$(colour "$E2E_TMP/scope.png" 96 300)" = "72,0,0" ] || fail "no grid line at x=96: $(colour "$E2E_TMP/scope.png" 96 300)"
[ "$(colour "$E2E_TMP/scope.png" 576 150)" = "72,0,0" ] || fail "no grid line at x=576"
[ "$(colour "$E2E_TMP/scope.png" 5 136)" = "182,182,170" ] || fail "no upper frame line"
[ "$(colour "$E2E_TMP/scope.png" 5 391)" = "182,182,170" ] || fail "no lower frame line"
for row in 0 1 4 7 8 9 16; do row_lit "$E2E_TMP/scope.png" "$row" || fail "scope view: row $row is empty"; done

# A left click in the source wave's first column reshapes the left preview
# and leaves the right one alone.
click 60 200 1
sleep 0.3
screenshot "$E2E_TMP/edited.png"
differs "$E2E_TMP/scope.png" "$E2E_TMP/edited.png" 32 137 256 254 || fail "the click did not change the source preview"
# The right half also holds the moving trace, so compare only where the
# distortion curve of an unedited wave lies: pixel row 263.
[ "$(colour "$E2E_TMP/edited.png" 480 263)" = "$(colour "$E2E_TMP/scope.png" 480 263)" ] || fail "the destination preview changed"
shots "$E2E_TMP/edited.png" oscilloscope.png
key q   # back to the plain source wave

# Note display: header on row 17, value lines scrolling up from row 48.
key Tab
sleep 2
screenshot "$E2E_TMP/notes.png"
for row in 17 48 47 40; do row_lit "$E2E_TMP/notes.png" "$row" || fail "note display: row $row is empty"; done
shots "$E2E_TMP/notes.png" notes.png

# Help from row 17 to 39, the rest of the lower area blank.
key h
sleep 0.5
screenshot "$E2E_TMP/help.png"
for row in 17 22 24 37 39; do row_lit "$E2E_TMP/help.png" "$row" || fail "help: row $row is empty"; done
for row in 40 44 47; do
    if row_lit "$E2E_TMP/help.png" "$row"; then fail "help: row $row should be blank"; fi
done

key Escape Escape
wait_exit 10
[ "$E2E_EXIT" = 0 ] || fail "exit code $E2E_EXIT"
echo "play_display: ok ($first)"
