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
log=$(mktemp --suffix=.log)  # the test program's output, for the names of the tests that failed
cleanup() {
    "$here/audio-sink.sh" stop "$sound" >/dev/null 2>&1 || true
    rm -rf "$sound" "$trace" "$log"
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

run() {
    local status=0
    "$WINE" "$tests" "$exe" "$trace" "$@" 2>"$trace" | tee "$log" || status=$?
    return $status
}
status=0
run "$@" || status=$?
# A test driven through Wine's windows, keys and sound can miss its moment on a busy machine
# now and then. A test that failed alone or with one or two others runs once more and must
# pass then; what failed first stays in the output above. More failures than that are never
# put down to timing. A test that hung ended the program (its watchdog), so the tests after
# it never ran: then the whole run goes once more.
mapfile -t failed < <(tr -d '\r' <"$log" | sed -n 's/^\[  FAILED  \] \([^ ,]*\).* ([0-9]* ms)$/\1/p' | sort -u)
if [ "$status" -ne 0 ] && [ "${#failed[@]}" -ge 1 ] && [ "${#failed[@]}" -le 3 ]; then
    args=("$@")
    if grep -q '^\[ hung ' "$log"; then
        echo "== hung: ${failed[*]}; the whole run once more"
    else
        echo "== failed: ${failed[*]}; run once more on their own"
        args=()
        for arg in "$@"; do [[ $arg == --gtest_filter=* ]] || args+=("$arg"); done
        args+=("--gtest_filter=$(IFS=:; echo "${failed[*]}")")
    fi
    status=0
    run "${args[@]}" || status=$?
    [ "$status" -eq 0 ] && echo "== passed when run again: ${failed[*]}"
fi
exit $status
