#!/usr/bin/env bash
# Checks the download: scripts/release.sh run here and in a copy of the checkout at another path
# (a minute later, built from scratch) gives the same zip, byte for byte, with the same 32-bit
# program in it, so that anyone can build it again and compare. The zip holds Siborang.exe,
# README.ko.txt (with its byte order mark) and SHA256SUMS.txt (whose sums hold), in that order,
# with fixed times, no Unix owner or mode fields and ASCII names. The copy and its build live in
# a temporary folder of their own, removed at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d --suffix=.siborang-again)
trap 'rm -rf "$work"' EXIT
copy=$work/another/path/siborang
mkdir -p "$copy"
# The files as they are in this checkout, committed or not, and nothing it ignores.
git -C "$root" ls-files -z --cached --others --exclude-standard |
    (cd "$root" && xargs -0 tar -cf - --no-recursion --) | tar -xf - -C "$copy"

"$root/scripts/release.sh" >/dev/null
"$copy/scripts/release.sh" >/dev/null
zip=$(ls "$root"/dist/Siborang-*-win32.zip)
if ! cmp "$root/build/i686/Siborang.exe" "$copy/build/i686/Siborang.exe" ||
    ! cmp "$zip" "$copy/dist/${zip##*/}"; then
    echo "built at another path, the download differs" >&2
    exit 1
fi

python3 - "$zip" "$work/unpacked" <<'PYTHON'
import sys
import zipfile

archive = zipfile.ZipFile(sys.argv[1])
entries = archive.infolist()
names = [e.filename for e in entries]
assert names == ["Siborang.exe", "README.ko.txt", "SHA256SUMS.txt"], names
for e in entries:
    assert e.filename.isascii(), e.filename
    assert e.create_system == 0 and e.external_attr >> 16 == 0, (e.filename, e.create_system, e.external_attr)
    assert e.date_time == (2000, 1, 1, 0, 0, 0), (e.filename, e.date_time)
    assert not e.extra, (e.filename, e.extra)
archive.extractall(sys.argv[2])
PYTHON
cmp "$root/build/i686/Siborang.exe" "$work/unpacked/Siborang.exe"
[ "$(head -c 3 "$work/unpacked/README.ko.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] || {
    echo "README.ko.txt has no byte order mark" >&2
    exit 1
}
grep -q '시보랑' "$work/unpacked/README.ko.txt"
(cd "$work/unpacked" && sha256sum --quiet -c SHA256SUMS.txt)
echo "built again at another path, the download is byte-identical: $(sha256sum <"$zip" | cut -d' ' -f1)"
