#!/usr/bin/env bash
# Makes a fresh Wine prefix for one test run, with Korean fonts mapped to Nanum.
# There is no window manager under Xvfb: unmanaged windows spare Wine's wait for one.
# It deletes only a prefix it made: it marks each one it makes with the file .siborang-prefix,
# and leaves any other folder as it is, whatever SIBORANG_WINEPREFIX names.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
mark=$WINEPREFIX/.siborang-prefix
marked() { echo "Made by Siborang's scripts/wine-prefix.sh, which may delete it and make it anew." >"$mark"; }

# Earlier versions made their prefixes unmarked, in the checkout's build/ or at the default
# path, always with the Korean font names mapped to Nanum (below): those are taken as our own.
made_unmarked_by_us() {
    local at
    at=$(realpath -m "$WINEPREFIX")
    case $at in
    "$(realpath -m "$here/../build")"/* | "$(realpath -m "$siborang_default_prefix")") ;;
    *) return 1 ;;
    esac
    grep -q '^"Gulim"="NanumGothic"' "$WINEPREFIX/user.reg" 2>/dev/null
}

empty_folder() { [ -d "$WINEPREFIX" ] && [ -z "$(ls -A "$WINEPREFIX")" ]; }

if [ -e "$WINEPREFIX" ] && [ ! -f "$mark" ] && ! empty_folder; then
    if ! made_unmarked_by_us; then
        cat >&2 <<END
wine-prefix.sh: the Wine prefix $WINEPREFIX (SIBORANG_WINEPREFIX) holds
files but no .siborang-prefix, the mark of a prefix these scripts made: it is left as it is,
nothing in it changed or deleted. scripts/start.sh uses a prefix that has system.reg as it
is. To have a prefix made, name a folder that does not exist yet or is empty, or unset
SIBORANG_WINEPREFIX for the default, $siborang_default_prefix.
END
        exit 1
    fi
    echo "$WINEPREFIX was made by an earlier version of these scripts: marked as theirs"
    marked
fi
[ -n "${SIBORANG_KEEP_PREFIX:-}" ] && [ -f "$WINEPREFIX/system.reg" ] && exit 0
"${WINE%64}server" -k 2>/dev/null || true
chattr -i "$WINEPREFIX/drive_c/locked/PostIt.dat" 2>/dev/null || true
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
# First, so that a prefix whose making is cut short is still known as ours.
marked
"$WINE" wineboot -i >/dev/null 2>&1
reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
# As Korean Windows links its western faces to a Korean font for the Hanja and Hangul they
# lack (the memo editor's "年 月 日" in "MS Serif", in "Times New Roman" above 100%): the link
# as UTF-16 "file,face" list.
nanum=$(printf 'NanumGothic.ttf,NanumGothic\0\0' | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//; s/,$//')
# Version 5 files are UTF-16, so the Korean font names survive whatever the ANSI code page.
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
  '"굴림"="NanumGothic"' '"돋움"="NanumGothic"' '"GulimChe"="NanumGothicCoding"' \
  '"Gulim"="NanumGothic"' '"Dotum"="NanumGothic"' '' \
  '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
  '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]' \
  "\"MS Serif\"=hex(7):$nanum" "\"MS Sans Serif\"=hex(7):$nanum" \
  "\"Times New Roman\"=hex(7):$nanum" "\"Microsoft Sans Serif\"=hex(7):$nanum" '' | iconv -f UTF-8 -t UTF-16 > "$reg"
"$WINE" regedit "$reg" >/dev/null 2>&1
/usr/lib/wine/wineserver -w
# Wine draws the caption buttons with glyphs of its Marlett font, which Debian ships outside
# the places this Wine looks: without it the close box shows a plain "r".
for font in /usr/share/wine/fonts/marlett.ttf; do
    [ -f "$font" ] && cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
done

# With --locked-memo: a PostIt.dat nobody may change, for the tests of refused writes. As
# root under Wine only an immutable file is refused, with the code Windows gives a read-only
# one. The test run makes it changeable again when it ends, so the tree can be removed.
if [ "${1:-}" = "--locked-memo" ]; then
    mkdir -p "$WINEPREFIX/drive_c/locked"
    head -c 452 /dev/zero > "$WINEPREFIX/drive_c/locked/PostIt.dat"
    chattr +i "$WINEPREFIX/drive_c/locked/PostIt.dat" 2>/dev/null ||
        echo "chattr +i failed (it needs root): the refused-write tests find PostIt.dat writable"
fi
echo "Wine prefix ready: $WINEPREFIX"
