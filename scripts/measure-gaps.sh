#!/usr/bin/env bash
# How the spoken time flows: records one announcement through a private real-time sound sink
# (audio-sink.sh) and prints the stretches of sound and the silences between them, beside
# the player's own pause between two calls, and each clip's silent head and tail.
#
#   measure-gaps.sh [HOUR MINUTE]        default 3 17 (five clips)
#
# Builds the x86_64 tree first (build/x64). Uses a fresh Wine prefix of its own in
# build/measure-prefix, whatever SIBORANG_WINEPREFIX names. Sound is measured in 10 ms
# windows: a window is sound when a sample in it goes above 6/128 of full scale.
# SIBORANG_GAPS_KEEP=DIR keeps the recording and the driver's output there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
hour=${1:-3}
minute=${2:-17}

"$root/scripts/build.sh" x64 >/dev/null
export SIBORANG_WINEPREFIX=$root/build/measure-prefix
. "$root/scripts/wine-env.sh"
"$root/scripts/wine-prefix.sh" >/dev/null

work=$(mktemp -d --suffix=.gaps)
cleanup() {
    "$root/scripts/audio-sink.sh" stop "$work/sink" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

settings=$("$root/scripts/audio-sink.sh" start "$work/sink" $$)
while IFS='=' read -r name value; do
    case $name in
    PULSE_SERVER | PULSE_COOKIE) export "$name=$value" ;;
    SIBORANG_AUDIO_RAW) capture=$value ;;
    esac
done <<<"$settings"

# A tone that is sound from its first sample to its last, in the clips' format: any silence
# between two plays of it is the player's own.
sox -n -r 11025 -c 1 -b 8 -e unsigned-integer "$work/tone.wav" synth 0.5 sine 440 gain -3

driver=$root/build/x64/SpeakDriver.exe
tones=6
# Records what one run of the driver plays: the capture's byte range from before the run to a
# moment after it, once the server has passed the sound on. The driver's output goes to
# LABEL.out.
record() { # label, driver arguments...
    local label=$1 from to
    shift
    sleep 1
    from=$(stat -c %s "$capture")
    "$WINE" "$driver" "$@" | tr -d '\r' >"$work/$label.out"
    sleep 1.5
    to=$(stat -c %s "$capture")
    echo "$label $from $to" >>"$work/ranges"
}
# The first play opens the device and starts Wine's sound services: warm them up unmeasured.
"$WINE" "$driver" --file "$work/tone.wav" 1 >/dev/null
record pause --file "$work/tone.wav" "$tones"
record announcement "$hour" "$minute"
if [ -n "${SIBORANG_GAPS_KEEP:-}" ]; then
    mkdir -p "$SIBORANG_GAPS_KEEP"
    cp "$capture" "$work"/*.out "$work/ranges" "$SIBORANG_GAPS_KEEP"
fi
python3 "$root/scripts/measure-gaps.py" "$capture" "$work" "$root/resources/clips" "$tones"
