#!/usr/bin/env bash
# Runs the Windows tests' Scaling cases at each screen scale Windows offers most (100%, 125%,
# 150%, 200%), each on a virtual display of its own, large enough for the memo editor at 200%.
# Usage: dpi-tests.sh SiborangWindowsTests.exe
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
status=0
for dpi in 96 120 144 192; do
    echo "== at $dpi dpi"
    xvfb-run -a -s "-screen 0 2560x1600x24 -nolisten tcp" \
        "$here/wine-dpi.sh" "$dpi" "$here/wine-run.sh" "$1" --gtest_filter='Scaling.*' || status=1
done
exit $status
