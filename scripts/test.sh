#!/usr/bin/env bash
# Installs what is missing, builds everything and runs all three test layers: native unit
# tests (with sanitizers), and the in-process Windows tests and process-level tests of both
# Windows programs: the x86_64 one under this machine's Wine 8, the 32-bit one under Debian
# 13's Wine 10 in WoW64 mode (scripts/wow64.sh; its tree is made on the first run).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" x64 i686 native

# The 32-bit program must need nothing beyond Windows' own DLLs.
"$root/scripts/check-imports.sh" "$root/build/i686/Siborang.exe" "$root/build/x64/Siborang.exe"

# The tests make one Wine prefix per Wine for the whole run, their own in build/native (the
# tests say so, whatever SIBORANG_WINEPREFIX says here). The refused-write tests leave an
# immutable file in each; nothing could delete it.
unlock() {
    local prefix
    for prefix in "$root/build/native/wineprefix" "$root/build/native/wineprefix-i686"; do
        chattr -i "$prefix/drive_c/locked/PostIt.dat" 2>/dev/null || true
    done
}
trap unlock EXIT
cd "$root/build/native"
# Always on a virtual display of the run's own, on a free display number, whatever DISPLAY
# says: the keyboard walk presses real keys and moves the pointer, which must never reach the
# desktop of whoever started the run.
unset DISPLAY XAUTHORITY
status=0
xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" ctest --verbose "$@" || status=$?
# The failures again at the end, where a reader of a long log looks first.
if [ "$status" -ne 0 ]; then
    echo "== what failed"
    grep -E -A4 ': Failure$' Testing/Temporary/LastTest.log | grep -v '^ALSA' | head -120 || true
fi
exit "$status"
