#!/usr/bin/env bash
# Makes the voice clips that the clock links in as WAVE resources and plays
# one after another to speak the time.  Needs espeak-ng and sox.
# Writes resources/clips/<RESOURCE NAME>.wav; safe to run again, the output
# only depends on the tables below and the installed espeak-ng/sox.
#
# Every clip is 11025 Hz, mono, 8-bit unsigned PCM with a plain 44-byte
# header: small in the executable, and what PlaySound handles everywhere.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out_dir="$root/resources/clips"

for tool in espeak-ng sox soxi awk; do
  command -v "$tool" >/dev/null || { echo "make-clips: $tool not found" >&2; exit 1; }
done

rate=11025
peak_db=-3 # normalised peak level in dBFS

# The voice. An announcement is one PlaySound call per clip, so the only pause between words
# that the clips control is their own silence: each word is stretched to fill its clip, from
# its first sample to `tail` seconds before its end (sox tempo, pitch kept).
# Chosen from what `sox ... -n stats` prints for every word, compressed and normalised:
# - speed 80 (espeak-ng's slowest): the words come out 0.50-0.87 s long, so tempo stretches
#   them by factors 0.66-1.03 (at 100 wpm: 0.53-0.87). WSOLA stretching stays clean near 1:
#   stretched, every word keeps its RMS level within 1 dB and its crest factor within 0.13,
#   so nothing is smeared into noise or sharpened into clicks.
# - pitch 60: at the same -3 dBFS peak the denser glottal pulses lower the mean crest factor
#   from 4.47 (pitch 50) to 4.25, so the words sit 0.4 dB louder (mean RMS -15.5 dB) and
#   their quietest parts 0.4 dB further above the 8-bit floor; 70 gains little more and takes
#   the voice further from espeak's own Korean voice.
# - word gap 0: each clip holds one word and espeak's trailing silence is cut anyway.
speed=80
pitch=60
gap=0
tail=0.03  # seconds of silence kept after each word
fade=0.005 # seconds of fade in and out, against a click at either cut

# name|text|length in seconds.  Hours use native Korean numerals, minutes
# Sino-Korean ones; one-syllable words get shorter clips than two-syllable
# ones so the spoken time keeps an even rhythm.
clips=(
  "___HOUR1|한|0.78"
  "___HOUR2|두|0.72"
  "___HOUR3|세|0.72"
  "___HOUR4|네|0.74"
  "___HOUR5|다섯|1.02"
  "___HOUR6|여섯|1.05"
  "___HOUR7|일곱|1.08"
  "___HOUR8|여덟|1.12"
  "___HOUR9|아홉|1.02"
  "___HOUR10|열|0.94"
  "___HOURS|시|0.98"
  "___MINUTE1|일|0.80"
  "___MINUTE2|이|0.78"
  "___MINUTE3|삼|0.88"
  "___MINUTE4|사|0.80"
  "___MINUTE5|오|0.78"
  "___MINUTE6|육|0.84"
  "___MINUTE7|칠|0.90"
  "___MINUTE8|팔|0.86"
  "___MINUTE9|구|0.80"
  "___MINUTE10|십|0.73"
  "___MINUTE|분|0.85"
)
today_length=1.02

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out_dir"

# 8-bit unsigned output without dither, so the padding is exact silence (128)
# and reruns give byte-identical files.  The final sox calls run with -V1:
# "pad ... trim" to an exact length always makes pad warn that trim ended the
# stream first.
out_fmt=(-D -t wav -r "$rate" -c 1 -b 8 -e unsigned-integer)

# Seconds to an even sample count ("8160s" for sox): with 8-bit mono an odd
# count would leave a RIFF pad byte after the data.
samples() {
  awk -v len="$1" -v rate="$rate" 'BEGIN { printf "%ds", 2 * int(len * rate / 2 + 0.5) }'
}

speak() { # name text length
  local name=$1 text=$2 length=$3
  local raw="$tmp/$name.raw.wav" voiced="$tmp/$name.voiced.wav"

  espeak-ng -v ko -s "$speed" -p "$pitch" -g "$gap" -w "$raw" "$text"

  # Cut espeak's leading silence (a low threshold keeps soft onsets such as the breathy ㅎ
  # of 한), resample once, in float, and level the word: gentle compression lifts soft
  # consonants well above 8-bit quantisation noise. Then cut its end where the level stays
  # under 4% of full scale: that drops espeak's closing silence and the faint release it adds
  # after a final stop (일곱, 다섯, 여덟), which Korean leaves unreleased. Both cuts are faded
  # here, before tempo, which would otherwise leave the cut sharp and fade its own padding.
  sox "$raw" -t wav -e floating-point -b 32 "$voiced" \
    silence 1 0.002 0.3% rate -v "$rate" \
    compand 0.005,0.1 -70,-70,-45,-33,-25,-17,0,-8 0 -70 gain -n "$peak_db" \
    reverse silence 1 0.02 4% fade q "$fade" reverse fade q "$fade"

  # The word fills all of the clip but its tail: tempo lengthens or shortens it, pitch kept.
  local room tempo
  room="$(awk -v len="$length" -v tail="$tail" 'BEGIN { print len - tail }')"
  tempo="$(awk -v have="$(soxi -D "$voiced")" -v room="$room" 'BEGIN { printf "%.4f", have / room }')"

  # Tempo may overshoot by a few samples of its padding: cut to the room.
  sox -V1 "$voiced" "${out_fmt[@]}" "$out_dir/$name.wav" \
    tempo -s "$tempo" trim 0 "$(samples "$room")" \
    gain -n "$peak_db" \
    pad 0 "$length" trim 0 "$(samples "$length")"
}

chime() { # A soft "ding-dong": E5 then C5, a major third down, each decaying.
  local name=___TODAY
  sox -n -r "$rate" -c 1 -b 32 -e floating-point "$tmp/ding.wav" \
    synth 0.62 sine 659.25 fade h 0.005 0.62 0.6
  sox -n -r "$rate" -c 1 -b 32 -e floating-point "$tmp/dong.wav" \
    synth 0.72 sine 523.25 fade h 0.005 0.72 0.7 pad 0.3
  sox -V1 -m "$tmp/ding.wav" "$tmp/dong.wav" "${out_fmt[@]}" "$out_dir/$name.wav" \
    gain -n "$peak_db" \
    pad 0 "$today_length" trim 0 "$(samples "$today_length")"
}

for entry in "${clips[@]}"; do
  IFS='|' read -r name text length <<<"$entry"
  speak "$name" "$text" "$length"
done
chime

echo "make-clips: wrote $(( ${#clips[@]} + 1 )) clips to $out_dir"
