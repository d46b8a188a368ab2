#!/usr/bin/env bash
# Turns the screenshots the Windows tests saved (BMP) into PNG files beside them.
set -euo pipefail
dir=$1
shopt -s nullglob
shots=("$dir"/*.bmp)
[ ${#shots[@]} -gt 0 ] || { echo "no screenshots in $dir" >&2; exit 1; }
for bmp in "${shots[@]}"; do
    convert "$bmp" "${bmp%.bmp}.png"
    rm -f "$bmp"
    echo "saved ${bmp%.bmp}.png"
done
