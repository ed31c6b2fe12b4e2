#!/usr/bin/env bash
# A termination signal ends the program even though closing the window is
# ignored by its screens.
# programs: tarplay tarplay8 tarplay_pd
. "$(dirname "$0")/lib.sh"

mkdir -p "$E2E_TMP/tunes"
start_tarplay "$E2E_TMP/tunes"
key space
sleep 0.3
kill -TERM "$E2E_PID"
wait_exit 5
[ "$E2E_EXIT" = 143 ] || fail "exit code $E2E_EXIT after SIGTERM"
echo "terminate: ok"
