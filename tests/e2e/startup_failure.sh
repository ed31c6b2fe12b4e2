#!/usr/bin/env bash
# A video driver that SDL cannot start makes the program print its one line
# and end with exit code 254.
# programs: tarplay tarplay8 tarplay_pd
. "$(dirname "$0")/lib.sh"

set +e
out=$(cd "$E2E_TMP" && SDL_VIDEODRIVER=nosuchdriver SDL_AUDIODRIVER=dummy "$TARPLAY_BIN" 2>/dev/null)
code=$?
set -e
[ "$code" = 254 ] || fail "exit code $code"
case "$out" in
    "?SDL: "*"  ERROR") ;;
    *) fail "printed '$out'" ;;
esac
[ "$(printf '%s\n' "$out" | wc -l)" = 1 ] || fail "more than one line: '$out'"
echo "startup_failure: ok"
