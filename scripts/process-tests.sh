#!/usr/bin/env bash
# Runs the process-level tests against a built Siborang.exe. The test program's stderr, which
# the programs it starts inherit, is the trace file where Wine's winmm trace shows the clips.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
tests=$1
exe=$2
trace=$(mktemp --suffix=.trace)
trap 'rm -f "$trace"' EXIT
status=0
"$WINE" "$tests" "$exe" "$trace" 2>"$trace" || status=$?
exit $status
