#!/usr/bin/env bash
# Takes the pictures of the windows (the Windows tests' Picture cases, run on their own with
# SIBORANG_SCREENSHOTS naming the folder) and turns them (BMP) into PNG files beside them. Each
# picture the README shows (docs/) must come out pixel for pixel as it is there: a window
# that changes its look, at 100% or at another scale, fails the run until its picture is
# copied there anew. Usage: screenshots.sh DIR SiborangWindowsTests.exe [TEST ARGUMENTS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
docs=$here/../docs
dir=$1
shift
rm -f "$dir"/*.bmp
"$here/wine-run.sh" "$@"
shopt -s nullglob
shots=("$dir"/*.bmp)
[ ${#shots[@]} -gt 0 ] || { echo "no screenshots in $dir" >&2; exit 1; }
status=0
for bmp in "${shots[@]}"; do
    png=${bmp%.bmp}.png
    convert "$bmp" "$png"
    rm -f "$bmp"
    echo "saved $png"
    shown=$docs/$(basename "$png")
    [ -f "$shown" ] || continue
    # compare prints how many pixels differ, and fails on a different size.
    if ! differ=$(compare -metric AE "$shown" "$png" null: 2>&1) || [ "$differ" != 0 ]; then
        echo "$(basename "$png") differs from the README's picture: $differ pixels" >&2
        status=1
    fi
done
exit $status
