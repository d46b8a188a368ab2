#!/usr/bin/env bash
# Start-up time and private memory of Siborang beside a minimal Win32 program (the floor),
# and the memo file on 10,000 records. Figures are printed; nothing is asserted.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" x64
. "$root/scripts/wine-env.sh"
[ -f "$WINEPREFIX/system.reg" ] || "$root/scripts/wine-prefix.sh"
run() { "$WINE" "$root/build/x64/SiborangBench.exe" "$root/build/x64/Siborang.exe" "$root/build/x64/MinimalWindow.exe" "$@"; }
if [ -z "${DISPLAY:-}" ]; then
    export -f run
    export WINE root
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c 'run "$@"' _ "$@"
else
    run "$@"
fi
