#!/usr/bin/env bash
# scripts/wine-prefix.sh leaves a prefix it did not make as it is: a user's own, named by
# SIBORANG_WINEPREFIX, outside the checkout, even one whose fonts are mapped as the scripts map
# them. It refuses before it starts Wine; WINE names a program that does nothing, so that
# even a script that went on would start none.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d --suffix=.prefix-guard)
trap 'rm -rf "$work"' EXIT
prefix=$work/own-prefix
mkdir -p "$prefix/drive_c/users/me"
printf 'WINE REGISTRY Version 2\n' >"$prefix/system.reg"
printf '[Software\\\\Wine\\\\Fonts\\\\Replacements]\n"Gulim"="NanumGothic"\n' >"$prefix/user.reg"
echo "a memo of the user's" >"$prefix/drive_c/users/me/PostIt.dat"
contents() { (cd "$prefix" && find . -printf '%y %p\n' | sort && find . -type f -exec sha256sum {} + | sort); }
before=$(contents)

status=0
SIBORANG_WINEPREFIX=$prefix WINE=/bin/false "$root/scripts/wine-prefix.sh" >"$work/out" 2>&1 || status=$?
cat "$work/out"
failed=0
fail() { echo "FAILED: $*"; failed=1; }
[ "$status" -ne 0 ] || fail "wine-prefix.sh succeeded on a prefix it did not make"
grep -qF "$prefix" "$work/out" || fail "the refusal does not name the prefix"
grep -qF ".siborang-prefix" "$work/out" || fail "the refusal does not say which mark is missing"
if [ -d "$prefix" ]; then
    [ "$(contents)" = "$before" ] || fail "the prefix changed: $(diff <(echo "$before") <(contents) || true)"
else
    fail "the prefix was deleted"
fi
[ "$failed" -eq 0 ] && echo "the unmarked prefix is intact"
exit "$failed"
