#!/usr/bin/env bash
# Runs a command with the run's Wine prefix set to a screen scale: Wine draws every program at
# the DPI the prefix names (LogPixels), read when its server starts, so the server is stopped
# around the change. The prefix is at 96 dpi again afterwards. Usage: wine-dpi.sh DPI CMD [ARG]...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
dpi=$1
shift
set_dpi() {
    "${WINE%64}server" -w 2>/dev/null || true
    "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    "${WINE%64}server" -w
}
trap 'set_dpi 96' EXIT
set_dpi "$dpi"
status=0
"$@" || status=$?
exit $status
