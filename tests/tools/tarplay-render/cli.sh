#!/usr/bin/env bash
# tarplay-render as a user runs it over a small collection: usage errors, a
# broken tune among good ones, the output folder mirroring the input, the
# same bytes from one worker and from two, a resumed run, and Ctrl+C.
#   cli.sh <tarplay-render> <build dir>
set -euo pipefail
bin=$1
build=$2
tmp=$(mktemp -d)
runpid=
cleanup() {
    if [ -n "$runpid" ]; then kill "$runpid" 2>/dev/null || true; wait "$runpid" 2>/dev/null || true; fi
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
le32() { od -An -tu4 -j"$2" -N4 "$1" | tr -d ' '; }

# complete FILE: a whole WAV file, both sizes matching its length.
complete() {
    local size
    size=$(stat -c %s "$1")
    [ "$size" -gt 44 ] && [ "$(head -c 4 "$1")" = RIFF ] &&
        [ "$(le32 "$1" 4)" = $((size - 8)) ] && [ "$(le32 "$1" 40)" = $((size - 44)) ]
}

status() { set +e; "$@" >"$tmp/stdout" 2>"$tmp/stderr"; rc=$?; set -e; }

# Usage: --help is not an error, no PATH and bad values are.
status "$bin" --help
[ $rc = 0 ] && grep -q "^usage: tarplay-render" "$tmp/stdout" || fail "--help: exit $rc"
for args in "" "--song 0 x.sid" "--song" "--format ogg x.sid" "--program tarplay9 x.sid" "-j 0 x.sid" \
    "--seconds -1 x.sid" "--seed 4294967296 x.sid" "--bogus x.sid"; do
    # shellcheck disable=SC2086
    status "$bin" $args
    [ $rc = 2 ] || fail "'$args': exit $rc, not 2"
    grep -q "^usage: tarplay-render" "$tmp/stderr" || fail "'$args': no usage line"
done

# The collection: tunes at the top and two folders down, a file that is
# no PSID, a module cut short, and files that are no tunes at all.
c=$tmp/collection
mkdir -p "$c/a/b"
cp "$build/demo/harbour.sid" "$build/demo/neondrift.ahx" "$c/"
cp "$build/demo/waltz.sid" "$build/demo/lanternwalk.ahx" "$c/a/b/"
cp "$build/demo/neondrive.sid" "$c/a/NEONDRIVE.SID"
printf 'PSIX%0120d' 0 >"$c/a/broken.sid"
head -c 40 "$build/demo/lanternwalk.ahx" >"$c/a/b/cut.ahx"
echo notes >"$c/a/notes.txt"
# A line break in a name would split the job line that a worker reads.
mkdir -p "$tmp/odd"
cp "$build/demo/waltz.sid" "$tmp/odd/two
lines.sid"
cp "$build/demo/waltz.sid" "$c/a/waltz.sidx"
cd "$build/demo"  # where Songlengths.txt is

status "$bin" --seconds 3 --seed 5 -j 2 -o "$tmp/two" "$c"
[ $rc = 1 ] || fail "a broken tune among good ones: exit $rc, not 1"
grep -q "broken.sid: Unsupported SID-Format \"PSIX\"" "$tmp/stderr" || fail "broken.sid not listed with the loader's message: $(cat "$tmp/stderr")"
grep -q "cut.ahx: " "$tmp/stderr" || fail "cut.ahx not listed"
grep -q "^7 of 7 tunes done: .*2 failed" "$tmp/stdout" || fail "summary: $(cat "$tmp/stdout")"
expected="a/NEONDRIVE.wav a/b/lanternwalk.wav a/b/waltz.wav harbour-01.wav neondrift-01.wav"
got=$(cd "$tmp/two" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
[ "$got" = "$expected " ] || fail "files written: $got"
for f in "$tmp"/two/*.wav "$tmp"/two/a/*.wav "$tmp"/two/a/b/*.wav; do complete "$f" || fail "$f is not a whole WAV file"; done

status "$bin" --seconds 1 -o "$tmp/oddout" "$tmp/odd" "$c/harbour.sid"
[ $rc = 1 ] && grep -q "line break" "$tmp/stderr" || fail "a name with a line break: exit $rc, $(cat "$tmp/stderr")"
complete "$tmp/oddout/harbour-01.wav" || fail "the tune beside the odd name was not rendered"

# One worker renders the same bytes as two, whatever tune each got.
status "$bin" --seconds 3 --seed 5 -j 1 -o "$tmp/one" "$c"
diff -r "$tmp/one" "$tmp/two" >/dev/null || fail "-j 1 and -j 2 differ"
# The seed matters for these tunes: another one gives other bytes.
status "$bin" --seconds 3 --seed 6 -o "$tmp/six" "$c/harbour.sid" "$c/a/b/waltz.sid"
! { cmp -s "$tmp/six/harbour-01.wav" "$tmp/two/harbour-01.wav" && cmp -s "$tmp/six/waltz.wav" "$tmp/two/waltz.wav"; } ||
    fail "the seed changes nothing; the resume check below could not tell a skip from a new render"

# Resume: complete files stay as they are (another seed would change them),
# a tune whose file a crash left as a temporary one only is rendered and the
# leftover goes.
rm "$tmp/two/a/b/waltz.wav"
head -c 10000 "$tmp/one/a/b/waltz.wav" >"$tmp/two/a/b/waltz.wav.part99999999-0"
status "$bin" --seconds 3 --seed 6 -o "$tmp/two" "$c"
grep -q "1 files rendered .* 4 already there, 2 failed" "$tmp/stdout" || fail "resume summary: $(cat "$tmp/stdout")"
cmp -s "$tmp/two/harbour-01.wav" "$tmp/one/harbour-01.wav" || fail "a complete file was rendered again"
cmp -s "$tmp/two/a/b/waltz.wav" "$tmp/six/waltz.wav" || fail "the interrupted tune was not rendered anew"
[ ! -e "$tmp/two/a/b/waltz.wav.part99999999-0" ] || fail "the crashed run's temporary file is still there"
# --force renders everything again.
status "$bin" --seconds 3 --seed 6 --force -o "$tmp/two" "$c/harbour.sid"
cmp -s "$tmp/two/harbour-01.wav" "$tmp/six/harbour-01.wav" || fail "--force did not render again"

# Ctrl+C in the middle of long renders: the run ends with 130, leaving no
# temporary file and no final one that is not whole.
"$bin" --seconds 900 -j 2 -o "$tmp/int" "$c" >"$tmp/stdout" 2>"$tmp/stderr" &
runpid=$!
for _ in $(seq 1 300); do
    [ -n "$(find "$tmp/int" -name '*.part*' 2>/dev/null)" ] && break
    sleep 0.1
done
[ -n "$(find "$tmp/int" -name '*.part*' 2>/dev/null)" ] || fail "no render under way to interrupt"
sleep 0.5
kill -INT "$runpid"
set +e
wait "$runpid"
rc=$?
set -e
runpid=
[ $rc = 130 ] || fail "interrupted run: exit $rc, not 130"
left=$(find "$tmp/int" -name '*.part*')
[ -z "$left" ] || fail "temporary files left: $left"
while IFS= read -r f; do complete "$f" || fail "$f is truncated"; done < <(find "$tmp/int" -name '*.wav')
grep -q "interrupted" "$tmp/stderr" || fail "no word of the interruption"
echo "tarplay-render cli: ok"
