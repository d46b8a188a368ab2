#!/usr/bin/env bash
# Builds the 32-bit program and writes what a Windows user downloads: dist/Siborang-<version>-
# win32.zip holding Siborang.exe, README.ko.txt (the README's Korean guide, UTF-8 with a byte
# order mark and CRLF line ends, so that Notepad on Windows 7 reads it) and SHA256SUMS.txt; then
# prints the SHA-256 of the zip and of the exe. The zip is reproducible: the same sources give
# the same bytes, at any path, at any time (fixed entry times and order, no owner or host
# fields, ASCII names). It writes nothing outside dist/ and build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# The version lives in one place, the project's declaration, which the exe's version resource
# takes too.
version=$(sed -n 's/^project(Siborang VERSION \([0-9][0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "no version in CMakeLists.txt" >&2; exit 1; }

"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/i686" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DSIBORANG_TESTS=ON >/dev/null
cmake --build "$root/build/i686" -j"$(nproc)" --target Siborang >/dev/null
exe=$root/build/i686/Siborang.exe

stage=$root/build/release
rm -rf "$stage"
mkdir -p "$stage" "$root/dist"
cp "$exe" "$stage/Siborang.exe"
# The guide is the README's own Korean section, from its heading to the next one.
{
    printf '\xEF\xBB\xBF'
    awk '/^## Windows에서 쓰기$/ {on = 1} on && /^## / && !/^## Windows에서 쓰기$/ {exit} on' "$root/README.md" |
        sed -e :a -e '/^\n*$/{$d;N;ba' -e '}' | sed 's/$/\r/'
} >"$stage/README.ko.txt"
[ "$(wc -l <"$stage/README.ko.txt")" -gt 10 ] || { echo "no Korean guide found in README.md" >&2; exit 1; }
(cd "$stage" && sha256sum Siborang.exe README.ko.txt | sed 's/$/\r/') >"$stage/SHA256SUMS.txt"

zip=$root/dist/Siborang-$version-win32.zip
python3 - "$stage" "$zip" <<'PYTHON'
import sys
import zipfile

stage, target = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(target, "w") as archive:
    for name in ("Siborang.exe", "README.ko.txt", "SHA256SUMS.txt"):
        entry = zipfile.ZipInfo(name, date_time=(2000, 1, 1, 0, 0, 0))
        entry.create_system = 0  # MS-DOS: no Unix owner or mode bits
        entry.external_attr = 0x20  # the archive bit, as Windows' own zip folders write it
        entry.compress_type = zipfile.ZIP_DEFLATED
        with open(f"{stage}/{name}", "rb") as source:
            archive.writestr(entry, source.read(), compresslevel=9)
PYTHON
echo "$(sha256sum "$zip" | cut -d' ' -f1)  dist/$(basename "$zip")"
echo "$(sha256sum "$exe" | cut -d' ' -f1)  Siborang.exe"
