#!/usr/bin/env bash
# A private PulseAudio server whose only, default sink records what is played into a file,
# paced by the system clock, so that a test can see sound played for real and in real time.
#
#   audio-sink.sh start DIR [OWNER_PID]
#                             starts it, with everything it keeps in DIR; prints the settings
#                             for its clients as NAME=VALUE lines:
#                               PULSE_SERVER           where clients reach it
#                               PULSE_COOKIE           a cookie file of its own, not ~/.config's
#                               SIBORANG_AUDIO_RAW     the growing capture file (unix path)
#                               SIBORANG_AUDIO_FORMAT  its format: sample:rate:channels
#                             exits non-zero, after one line saying why, when it cannot start.
#                             With OWNER_PID, it stops by itself once that process is gone,
#                             even one killed before it could say stop.
#   audio-sink.sh stop DIR    stops it and whatever it left running.
#
# The capture is 16-bit little-endian stereo at 44100 Hz: the format a desktop mixer would
# run at, so that the player under test goes through its usual conversions.
set -uo pipefail

format=s16le
rate=44100
channels=2

usage() { echo "usage: audio-sink.sh start|stop DIR" >&2; exit 2; }
[ $# -eq 2 ] || [ $# -eq 3 ] || usage
action=$1
dir=$2
owner=${3:-}

pulse_env() {
    # The server would otherwise look in root's home and the shared runtime directory.
    export HOME="$dir" XDG_RUNTIME_DIR="$dir" XDG_CONFIG_HOME="$dir/config"
    export PULSE_RUNTIME_PATH="$dir/run" PULSE_STATE_PATH="$dir/state" PULSE_COOKIE="$dir/cookie"
    unset PULSE_SERVER
}

alive() { [ -n "${1:-}" ] && kill -0 "$1" 2>/dev/null; }

stop_sink() {
    local watchdog=""
    [ -f "$dir/watchdog.pid" ] && watchdog=$(cat "$dir/watchdog.pid" 2>/dev/null)
    # Not when the watchdog itself is the one stopping it (the stop may run in its process).
    [ "$watchdog" != "$$" ] && [ "$watchdog" != "$PPID" ] && alive "$watchdog" && kill "$watchdog" 2>/dev/null
    local pid=""
    [ -f "$dir/run/pid" ] && pid=$(cat "$dir/run/pid" 2>/dev/null)
    if alive "$pid"; then
        kill "$pid" 2>/dev/null
        for _ in $(seq 50); do alive "$pid" || break; sleep 0.1; done
        alive "$pid" && kill -9 "$pid" 2>/dev/null
    fi
    # The reader ends by itself once the server closes the pipe; not if the server never
    # opened it.
    local reader=""
    [ -f "$dir/reader.pid" ] && reader=$(cat "$dir/reader.pid" 2>/dev/null)
    if alive "$reader"; then
        for _ in $(seq 10); do alive "$reader" || break; sleep 0.1; done
        alive "$reader" && kill "$reader" 2>/dev/null
    fi
    rm -f "$dir/sink.fifo" "$dir/reader.pid" "$dir/watchdog.pid"
}

fail() {
    echo "audio sink not started: $*"
    stop_sink
    exit 1
}

case $action in
start)
    command -v pulseaudio >/dev/null || { echo "audio sink not started: pulseaudio is not installed"; exit 1; }
    mkdir -p "$dir/run" "$dir/state" "$dir/config" || { echo "audio sink not started: cannot make $dir"; exit 1; }
    dir=$(cd "$dir" && pwd)
    pulse_env
    stop_sink

    # The pipe sink insists on a FIFO; a reader drains it into the capture file, so that the
    # server never blocks on a full pipe.
    rm -f "$dir/sink.fifo"
    mkfifo "$dir/sink.fifo" || fail "mkfifo failed"
    : > "$dir/sink.raw"
    cat "$dir/sink.fifo" > "$dir/sink.raw" </dev/null 2>/dev/null &
    echo $! > "$dir/reader.pid"

    cat > "$dir/default.pa" <<EOF
load-module module-native-protocol-unix auth-anonymous=1 socket=$dir/run/native
load-module module-pipe-sink sink_name=capture file=$dir/sink.fifo format=$format rate=$rate channels=$channels use_system_clock_for_timing=yes
set-default-sink capture
EOF
    # Root runs it as an ordinary per-user server: system mode would ignore DIR.
    # --daemonize returns once start-up is over, with its outcome; every descriptor is
    # closed or redirected so the caller's pipes do not wait for the server.
    pulseaudio --daemonize=yes --use-pid-file=yes --exit-idle-time=-1 --disallow-exit=yes \
        --system=false --disable-shm=yes -n -F "$dir/default.pa" \
        --log-target="file:$dir/pulse.log" </dev/null >/dev/null 2>&1 \
        || fail "pulseaudio failed to start: $(grep -m1 '^E:' "$dir/pulse.log" 2>/dev/null)"
    for _ in $(seq 50); do [ -S "$dir/run/native" ] && break; sleep 0.1; done
    [ -S "$dir/run/native" ] || fail "no socket at $dir/run/native"
    # The server carries on without a module that failed to load; the sink proves itself by
    # writing (silence while nothing plays) into the capture.
    for _ in $(seq 50); do [ -s "$dir/sink.raw" ] && break; sleep 0.1; done
    [ -s "$dir/sink.raw" ] || fail "the sink writes nothing: $(grep -m1 '^E:' "$dir/pulse.log" 2>/dev/null)"

    if [ -n "$owner" ]; then
        self=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
        server=$(cat "$dir/run/pid" 2>/dev/null)
        alive "$server" || fail "no server process (pid file: '$server')"
        (
            while alive "$owner" && alive "$server"; do sleep 2; done
            "$self" stop "$dir"
        ) </dev/null >/dev/null 2>&1 &
        echo $! > "$dir/watchdog.pid"
    fi

    echo "PULSE_SERVER=unix:$dir/run/native"
    echo "PULSE_COOKIE=$dir/cookie"
    echo "SIBORANG_AUDIO_RAW=$dir/sink.raw"
    echo "SIBORANG_AUDIO_FORMAT=$format:$rate:$channels"
    ;;
stop)
    [ -d "$dir" ] || exit 0
    dir=$(cd "$dir" && pwd)
    stop_sink
    ;;
*)
    usage
    ;;
esac
