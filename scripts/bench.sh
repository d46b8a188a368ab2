#!/usr/bin/env bash
# Start-up time and private memory of Siborang beside minimal Win32 programs (the floors: one
# hidden window; one tray icon; the fair floor, which also does the platform work the clock
# cannot avoid at start), the memo file on 10,000 records, and the minute tick over them
# (nothing due, and 100 due at once) beside reading the file once. Figures are printed;
# nothing is asserted. Usage: bench.sh [starts per round, 7] [rounds, 5]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Without a display, the whole script runs again under a virtual one.
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
"$root/scripts/build.sh" x64
. "$root/scripts/wine-env.sh"
[ -f "$WINEPREFIX/system.reg" ] || "$root/scripts/wine-prefix.sh"
# A Wine server left from a run on another display would hand this one a dead tray.
/usr/lib/wine/wineserver -w 2>/dev/null || true
b=$root/build/x64
"$WINE" "$b/SiborangBench.exe" "$b/Siborang.exe" "$b/MinimalWindow.exe" "$b/MinimalTray.exe" "$b/FairFloor.exe" "$@"
