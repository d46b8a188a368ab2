#!/usr/bin/env bash
# Runs the process-level tests against a built Siborang.exe (process-tests.sh TESTS EXE [ARG]...). The test program's stderr, which
# the programs it starts inherit, is the trace file where Wine's winmm trace shows the clips.
# Where a private sound server can run (audio-sink.sh), what the clock plays is recorded too,
# for the test that checks the announcement is really heard; without one that test skips.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
tests=$1
exe=$2
shift 2  # the rest goes to the test program (a filter)
trace=$(mktemp --suffix=.trace)
sound=$(mktemp -d --suffix=.sound)
cleanup() {
    "$here/audio-sink.sh" stop "$sound" >/dev/null 2>&1 || true
    rm -rf "$sound" "$trace"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

if settings=$("$here/audio-sink.sh" start "$sound" $$); then
    while IFS='=' read -r name value; do
        case $name in
        PULSE_SERVER | PULSE_COOKIE | SIBORANG_AUDIO_FORMAT) export "$name=$value" ;;
        SIBORANG_AUDIO_RAW) export SIBORANG_AUDIO_CAPTURE="Z:${value//\//\\}" ;;
        esac
    done <<<"$settings"
    echo "sound recorded through $PULSE_SERVER ($SIBORANG_AUDIO_FORMAT)"
else
    echo "$settings"
    echo "no sound server: the real-sound test is skipped"
fi

# The planted-library test: Wine prefers a library found beside a program to its own, as
# Windows' search order does for any library that is not a KnownDLL. Wine reads this from the
# environment a process was started with, so it is set for the whole run; programs with no
# such library beside them load Wine's own as before.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winmm,comctl32,version,uxtheme=n,b"

status=0
"$WINE" "$tests" "$exe" "$trace" "$@" 2>"$trace" || status=$?
exit $status
