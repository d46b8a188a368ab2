#!/usr/bin/env bash
# Checks that the 32-bit program builds to the same bytes from a copy of the checkout at another
# path, a minute later: what a user downloads can then be built again by anyone and compared.
# Usage: check-reproducible.sh BUILT_EXE (the program built from this checkout, build/i686).
# The copy and its build live in a temporary folder of their own, removed at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
built=$1
work=$(mktemp -d --suffix=.siborang-again)
trap 'rm -rf "$work"' EXIT
copy=$work/another/path/siborang
mkdir -p "$copy"
# The files as they are in this checkout, committed or not, and nothing it ignores.
git -C "$root" ls-files -z --cached --others --exclude-standard |
    (cd "$root" && xargs -0 tar -cf - --no-recursion -- 2>/dev/null) | tar -xf - -C "$copy"
cmake -S "$copy" -B "$copy/build" -DCMAKE_TOOLCHAIN_FILE="$copy/cmake/mingw-i686.cmake" -DSIBORANG_TESTS=ON >/dev/null
cmake --build "$copy/build" -j"$(nproc)" --target Siborang >/dev/null
if cmp "$built" "$copy/build/Siborang.exe"; then
    echo "the 32-bit program built again at another path is byte-identical: $(sha256sum <"$built" | cut -d' ' -f1)"
else
    echo "the 32-bit program built at another path differs from $built" >&2
    exit 1
fi
