#!/usr/bin/env bash
# Installs what is missing, builds, and starts Siborang under Wine (under Xvfb when there is
# no display). The program lives in the notification area; this script waits until it ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" x64 i686
. "$root/scripts/wine-env.sh"
[ -f "$WINEPREFIX/system.reg" ] || "$root/scripts/wine-prefix.sh"
echo "32-bit Siborang.exe for Windows: $root/build/i686/Siborang.exe"
# The memos (PostIt.dat) are kept in the folder the program starts in: one under build/, so
# that they stay out of the checkout.
run="$root/build/run"
mkdir -p "$run"
cd "$run"
echo "Memos are kept in $run/PostIt.dat"
if [ -z "${DISPLAY:-}" ]; then
    echo "No display: the clock runs on a virtual one that nobody sees. Ctrl+C here ends it."
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$WINE" "$root/build/x64/Siborang.exe"
fi
exec "$WINE" "$root/build/x64/Siborang.exe"
