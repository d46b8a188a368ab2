#!/usr/bin/env bash
# Makes a fresh Wine prefix for one test run, with Korean fonts mapped to Nanum.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"

[ -n "${SIBORANG_KEEP_PREFIX:-}" ] && [ -f "$WINEPREFIX/system.reg" ] && exit 0
"${WINE%64}server" -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
"$WINE" wineboot -i >/dev/null 2>&1
reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
# Version 5 files are UTF-16, so the Korean font names survive whatever the ANSI code page.
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
  '"굴림"="NanumGothic"' '"돋움"="NanumGothic"' '"GulimChe"="NanumGothicCoding"' \
  '"Gulim"="NanumGothic"' '"Dotum"="NanumGothic"' '' | iconv -f UTF-8 -t UTF-16 > "$reg"
"$WINE" regedit "$reg" >/dev/null 2>&1
/usr/lib/wine/wineserver -w
echo "Wine prefix ready: $WINEPREFIX"
