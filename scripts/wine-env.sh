# Sourced by the scripts that run Wine: one prefix for a whole run, Wine's own noise off.
WINE=${WINE:-/usr/lib/wine/wine64}
: "${SIBORANG_WINEPREFIX:=${TMPDIR:-/tmp}/siborang-wineprefix}"
export WINEPREFIX=$SIBORANG_WINEPREFIX
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
: "${WINEDEBUG:=-all}"
export WINEDEBUG
