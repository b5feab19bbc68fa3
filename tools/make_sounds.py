#!/usr/bin/env python3
"""Writes the game's four sound effects to res/sounds/ as 8-bit unsigned mono PCM.

GAMEOVER  1.13 s at 22050 Hz  a falling, slightly buzzing tone
HIT       0.18 s at 22255 Hz  a crisp knock: noise burst over a short high ping
TOUCH     0.05 s at 22255 Hz  a soft tick
SUCCESS   6.0 s  at 11025 Hz  a cheerful major-key jingle

Every sound starts and ends at silence with short fades, so nothing clicks. The
noise uses a fixed seed: running the script again gives the same files.
"""

import math
import os
import random
import struct
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "res", "sounds")


def sample_count(seconds, rate):
    return int(round(seconds * rate))


def fade(i, n, rate, fade_in=0.004, fade_out=0.01):
    """Linear ramps at both ends."""
    t = i / rate
    rest = (n - 1 - i) / rate
    gain = 1.0
    if t < fade_in:
        gain *= t / fade_in
    if rest < fade_out:
        gain *= max(rest, 0.0) / fade_out
    return gain


def write_wave(name, rate, samples):
    data = bytes(max(0, min(255, int(round(128 + 127 * s)))) for s in samples)
    path = os.path.join(OUT, name + ".wav")
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(1)
        out.setframerate(rate)
        out.writeframes(data)
    return path


def game_over():
    rate, seconds = 22050, 1.13
    n = sample_count(seconds, rate)
    phase = 0.0
    samples = []
    for i in range(n):
        t = i / rate
        # Exponential glide from 560 Hz down to 70 Hz with a slow wobble.
        freq = 560.0 * (70.0 / 560.0) ** (t / seconds)
        freq *= 1.0 + 0.03 * math.sin(2 * math.pi * 6.0 * t)
        phase += 2 * math.pi * freq / rate
        tone = (math.sin(phase) + 0.35 * math.sin(2 * phase) + 0.18 * math.sin(3 * phase)) / 1.53
        envelope = 0.85 * (1.0 - 0.55 * t / seconds)
        samples.append(tone * envelope * fade(i, n, rate, 0.006, 0.12))
    return write_wave("GAMEOVER", rate, samples)


def hit():
    rate, seconds = 22255, 0.18
    n = sample_count(seconds, rate)
    noise = random.Random(4711)
    low = 0.0
    samples = []
    for i in range(n):
        t = i / rate
        # Softened noise for the knock, a decaying ping for the crisp edge.
        low += 0.45 * (noise.uniform(-1.0, 1.0) - low)
        knock = low * math.exp(-t * 60.0)
        ping = math.sin(2 * math.pi * 1320.0 * t) * math.exp(-t * 28.0)
        body = math.sin(2 * math.pi * 220.0 * t) * math.exp(-t * 35.0)
        s = 0.55 * knock + 0.45 * ping + 0.3 * body
        samples.append(max(-1.0, min(1.0, s)) * 0.9 * fade(i, n, rate, 0.001, 0.02))
    return write_wave("HIT", rate, samples)


def touch():
    rate, seconds = 22255, 0.05
    n = sample_count(seconds, rate)
    samples = []
    for i in range(n):
        t = i / rate
        s = math.sin(2 * math.pi * 1760.0 * t) * math.exp(-t * 90.0)
        samples.append(0.45 * s * fade(i, n, rate, 0.001, 0.008))
    return write_wave("TOUCH", rate, samples)


def note_frequency(semitones_from_a4):
    return 440.0 * 2.0 ** (semitones_from_a4 / 12.0)


def success():
    rate, seconds = 11025, 6.0
    n = sample_count(seconds, rate)
    # (start beat, length in beats, semitones from A4); 8 beats per 3 seconds.
    c5, d5, e5, f5, g5, a5, c6 = 3, 5, 7, 8, 10, 12, 15
    melody = [
        (0, 1, c5), (1, 1, e5), (2, 1, g5), (3, 2, c6),
        (5, 1, a5), (6, 1, g5), (7, 1, e5),
        (8, 1, f5), (9, 1, a5), (10, 1, g5), (11, 1, e5),
        (12, 1, d5), (13, 1, g5), (14, 4, c6),
    ]
    # Soft chords underneath: C, F, G, C (two beats per quarter of the piece).
    chords = [(0, 4, [-9, -5, -2]), (4, 4, [-4, 0, 3]), (8, 4, [-14, -2, 2]),
              (12, 6, [-9, -5, -2])]
    beat = 3.0 / 8.0
    samples = [0.0] * n

    def add_note(start, length, semitones, gain, decay):
        freq = note_frequency(semitones)
        first = int(start * beat * rate)
        count = min(int(length * beat * rate), n - first)
        for k in range(count):
            t = k / rate
            env = math.exp(-t * decay) * min(1.0, t / 0.005) * min(1.0, (count - k) / (0.02 * rate))
            s = math.sin(2 * math.pi * freq * t) + 0.25 * math.sin(4 * math.pi * freq * t)
            samples[first + k] += gain * env * s

    for start, length, tone in melody:
        add_note(start, length, tone, 0.45, 2.2)
    for start, length, tones in chords:
        for tone in tones:
            add_note(start, length, tone, 0.12, 0.6)
    peak = max(abs(s) for s in samples) or 1.0
    return write_wave("SUCCESS", rate,
                      [0.85 * s / peak * fade(i, n, rate, 0.005, 0.5) for i, s in enumerate(samples)])


def main():
    os.makedirs(OUT, exist_ok=True)
    for make in (game_over, hit, touch, success):
        path = make()
        with wave.open(path, "rb") as check:
            print(f"{os.path.relpath(path)}: {check.getnframes() / check.getframerate():.3f} s "
                  f"at {check.getframerate()} Hz")


if __name__ == "__main__":
    main()
