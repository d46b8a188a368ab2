#!/usr/bin/env bash
# Start-up time and private memory of Siborang beside minimal Win32 programs (the floors: one
# hidden window; one tray icon), the memo file on 10,000 records, and the minute tick over them
# (nothing due, and 100 due at once) beside reading the file once. Figures are printed;
# nothing is asserted. Usage: bench.sh [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" x64
. "$root/scripts/wine-env.sh"
[ -f "$WINEPREFIX/system.reg" ] || "$root/scripts/wine-prefix.sh"
run() {
    local b=$root/build/x64
    "$WINE" "$b/SiborangBench.exe" "$b/Siborang.exe" "$b/MinimalWindow.exe" "$b/MinimalTray.exe" "$@"
}
if [ -z "${DISPLAY:-}" ]; then
    export -f run
    export WINE root
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c 'run "$@"' _ "$@"
else
    run "$@"
fi
