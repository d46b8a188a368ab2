#!/usr/bin/env bash
# Takes the pictures of the windows (the Windows tests' Picture cases, run on their own with
# SIBORANG_SCREENSHOTS naming the folder) and turns them (BMP) into PNG files beside them.
# Usage: screenshots.sh DIR SiborangWindowsTests.exe
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=$1
rm -f "$dir"/*.bmp
"$here/wine-run.sh" "$2"
shopt -s nullglob
shots=("$dir"/*.bmp)
[ ${#shots[@]} -gt 0 ] || { echo "no screenshots in $dir" >&2; exit 1; }
for bmp in "${shots[@]}"; do
    convert "$bmp" "${bmp%.bmp}.png"
    rm -f "$bmp"
    echo "saved ${bmp%.bmp}.png"
done
