# The analysis half of measure-gaps.sh: turns the recorded runs into stretches of sound and
# the silences between them.
# Usage: measure-gaps.py CAPTURE WORKDIR CLIPDIR TONES
#   CAPTURE  the sink's raw recording (s16le, 44100 Hz, two channels)
#   WORKDIR  holds "ranges" (label, first byte, end byte per run) and each run's LABEL.out
import array
import os
import sys
import wave

capture, work, clip_dir, tones = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
WINDOW_MS = 10
THRESHOLD = 6 / 128  # a window is sound when a sample in it goes above this share of full scale
FULL_SCALE = 32767 / 32768


def stretches(levels, rate, clicks=None):
    """[start, end) in ms of each stretch of sound, in 10 ms windows. A window holding a sample
    at full scale (the clips never reach it) is the player's click, not sound: its start goes
    to `clicks`."""
    n = rate * WINDOW_MS // 1000
    runs = []
    for ms, w in enumerate(range(0, len(levels), n)):
        ms *= WINDOW_MS
        window = levels[w:w + n]
        if max(window) >= FULL_SCALE:
            if clicks is not None:
                clicks.append(ms)
        elif max(window) > THRESHOLD:
            if runs and runs[-1][1] == ms:
                runs[-1][1] = ms + WINDOW_MS
            else:
                runs.append([ms, ms + WINDOW_MS])
    return runs


def silences(runs):
    return [b[0] - a[1] for a, b in zip(runs, runs[1:])]


def clip_levels(name):
    with wave.open(os.path.join(clip_dir, name.upper() + '.wav')) as w:
        return [abs(b - 128) / 128 for b in w.readframes(w.getnframes())], w.getframerate()


def took(line):
    return float(line.split('took')[1].split()[0])


with open(capture, 'rb') as f:
    data = f.read()
recorded, clicks = {}, {}
for line in open(os.path.join(work, 'ranges')):
    label, start, end = line.split()
    pcm = array.array('h', data[int(start) // 4 * 4:int(end) // 4 * 4])
    levels = [max(abs(pcm[i]), abs(pcm[i + 1])) / 32768 for i in range(0, len(pcm), 2)]
    clicks[label] = []
    recorded[label] = stretches(levels, 44100, clicks[label])

# The player's own pause: the tone is sound from its first sample to its last.
pauses = silences(recorded['pause'])
merged = tones - 1 - len(pauses)
print(f"player's pause between {tones} plays of a 500 ms tone (ms): {pauses}"
      + (f" and {merged} under 10 ms" if merged > 0 else ""))
print(f"  calls took (ms): {[round(took(l)) for l in open(os.path.join(work, 'pause.out'))]}")

# The announcement: every silence, then the ones between words. A word sounds as long in the
# recording as in its clip, so the next word starts with the first stretch after that.
lines = open(os.path.join(work, 'announcement.out')).read().splitlines()
clips = lines[0].split()[1:]
runs = recorded['announcement']
print(f"announcement {' '.join(c[3:] for c in clips)}: took {round(took(lines[1]))} ms")
print(f"  stretches of sound (ms): {[b - a for a, b in runs]}")
print(f"  every silence between them (ms): {silences(runs)}")
gaps, at = [], 0
for name in clips[:-1]:
    clip = stretches(*clip_levels(name))
    word_end = runs[at][0] + clip[-1][1] - clip[0][0]
    nxt = next((i for i in range(at + 1, len(runs)) if runs[i][0] >= word_end - 2 * WINDOW_MS), None)
    if nxt is None:
        break
    gaps.append(runs[nxt][0] - runs[nxt - 1][1])
    at = nxt
print(f"  silences between words (ms): {gaps}")
for label, at in clicks.items():
    if at:
        print(f"{label}: the player's clicks (10 ms windows with full-scale samples) at ms {at}, "
              f"the first sound at {recorded[label][0][0]}")

print("clips: silent head and tail in 10 ms windows, length (ms)")
for name in sorted(os.listdir(clip_dir)):
    levels, rate = clip_levels(name[:-4])
    runs = stretches(levels, rate)
    length = len(levels) * 1000 // rate
    print(f"  {name[:-4]:<12} head {runs[0][0]:4d}  tail {length - runs[-1][1]:4d}  length {length:5d}")
