# Sourced by the scripts that run Wine: one prefix for a whole run, Wine's own noise off.
WINE=${WINE:-/usr/lib/wine/wine64}
# start.sh's prefix, where the settings of the clock a user starts are kept.
siborang_default_prefix=${TMPDIR:-/tmp}/siborang-wineprefix
: "${SIBORANG_WINEPREFIX:=$siborang_default_prefix}"
export WINEPREFIX=$SIBORANG_WINEPREFIX
export WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
: "${WINEDEBUG:=-all}"
export WINEDEBUG
