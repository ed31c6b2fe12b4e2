#!/usr/bin/env bash
# Installs a build tree as a packager would, into a scratch DESTDIR under a
# prefix of its own, and checks what lands there: each program in bin/ with a
# desktop entry that validates and starts it, the icon that entry names, and
# a manual page that formats without warnings; nothing outside the prefix,
# and no entry for a program that was not installed.
#   install_tree.sh <build dir>
set -euo pipefail
build=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
prefix=/opt/tarplay-check
root=$dest$prefix
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR=$dest cmake --install "$build" --prefix "$prefix" >/dev/null

outside=$(find "$dest" -mindepth 1 ! -type d ! -path "$root/*")
[ -z "$outside" ] || fail "installed outside the prefix: $outside"
[ -x "$root/bin/tarplay" ] || fail "bin/tarplay is not installed"

for exe in "$root"/bin/*; do
    prog=$(basename "$exe")
    # The command-line renderer has no window and no desktop entry.
    [ "$prog" != tarplay-render ] || continue
    [ -x "$exe" ] || fail "$prog is not executable"
    entry=$root/share/applications/$prog.desktop
    [ -f "$entry" ] || fail "no desktop entry for $prog"
    desktop-file-validate "$entry" || fail "$prog.desktop does not validate"
    grep -qx "Exec=$prog" "$entry" || fail "$prog.desktop does not start $prog"
    grep -qx 'Categories=AudioVideo;Audio;Player;' "$entry" || fail "$prog.desktop is not in the audio players' menu"

    icon=$(sed -n 's/^Icon=//p' "$entry")
    svg=$root/share/icons/hicolor/scalable/apps/$icon.svg
    [ -f "$svg" ] || fail "icon '$icon' of $prog is not installed"
    rsvg-convert -w 48 -h 48 "$svg" -o "$dest/icon.png" || fail "icon '$icon' does not render"

    page=man1/$prog.1
    [ -f "$root/share/man/$page" ] || fail "no manual page for $prog"
    # The variants' pages include tarplay(1), found relative to the man folder.
    (cd "$root/share/man" && groff -s -man -ww -Tutf8 -z "$page") 2>"$dest/warnings"
    [ ! -s "$dest/warnings" ] || fail "$page: $(cat "$dest/warnings")"
    text=$(cd "$root/share/man" && soelim "$page")
    for topic in Songlengths.md5 Songlengths.db 'EXIT STATUS' "$prog"; do
        grep -q -- "$topic" <<<"$text" || fail "$page does not mention $topic"
    done
done

for entry in "$root"/share/applications/*.desktop; do
    prog=$(basename "$entry" .desktop)
    [ -x "$root/bin/$prog" ] || fail "desktop entry for $prog, which is not installed"
done
# tarplay-render: its page, and its workers found from the installed tree:
# a demo tune rendered through each program.
if [ -e "$root/bin/tarplay-render" ]; then
    page=man1/tarplay-render.1
    [ -f "$root/share/man/$page" ] || fail "no manual page for tarplay-render"
    (cd "$root/share/man" && groff -s -man -ww -Tutf8 -z "$page") 2>"$dest/warnings"
    [ ! -s "$dest/warnings" ] || fail "$page: $(cat "$dest/warnings")"
    text=$(cd "$root/share/man" && groff -man -Tascii -P-cbu "$page" 2>/dev/null)
    for topic in Songlengths.md5 --program --seed --force --format 'EXIT STATUS'; do
        grep -q -- "$topic" <<<"$text" || fail "$page does not mention $topic"
    done
    for prog in tarplay tarplay8 tarplay_pd; do
        [ -x "$root/libexec/tarplay/tarplay-render-$prog" ] || fail "the worker for $prog is not installed"
        "$root/bin/tarplay-render" --program "$prog" --seconds 1 -o "$dest/render-$prog" \
            "$build/demo/waltz.sid" >/dev/null || fail "the installed tarplay-render cannot render for $prog"
        [ -s "$dest/render-$prog/waltz.wav" ] || fail "no file from the installed tarplay-render for $prog"
    done
fi

echo "install_tree: $(ls "$root/bin" | wc -l) program(s) installed and checked"
