#!/usr/bin/env python3
"""Draws the about window's picture, a mountain lake at dawn, and encodes it as a JFIF file with
ImageMagick's convert: about.jpg, three times the size of the window's picture control (85 x 93).

Run from this folder; the JPEG it writes is committed beside the .rc script. The drawing is
deterministic (a fixed seed), so the same JPEG comes out every time."""
import math
import random
import subprocess

W, H = 255, 279
QUALITY = 96
rng = random.Random(303)


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(lerp(x, y, t) for x, y in zip(c1, c2))


def smooth_noise(n, scale, octaves):
    """A 1-D ridge line: value noise summed over octaves, n samples, roughly -1..1."""
    out = [0.0] * n
    amp, freq = 1.0, 1.0 / scale
    for _ in range(octaves):
        knots = [rng.uniform(-1, 1) for _ in range(int(n * freq) + 3)]
        for x in range(n):
            p = x * freq
            i = int(p)
            t = p - i
            t = t * t * (3 - 2 * t)
            out[x] += amp * lerp(knots[i], knots[i + 1], t)
        amp *= 0.5
        freq *= 2
    return out


SKY_TOP, SKY_MID, SKY_LOW = (38, 52, 110), (196, 120, 150), (250, 196, 130)
SUN = (255, 236, 180)
sun_x, sun_y, sun_r = 70, 38, 13
horizon = 150  # the lake's shore line

img = [[(0.0, 0.0, 0.0)] * W for _ in range(H)]

# Sky: a dawn gradient with a glow around the sun and thin clouds.
cloud = [smooth_noise(W, 40, 4) for _ in range(3)]
for y in range(horizon):
    t = y / horizon
    base = mix(SKY_TOP, SKY_MID, t / 0.6) if t < 0.6 else mix(SKY_MID, SKY_LOW, (t - 0.6) / 0.4)
    for x in range(W):
        d = math.hypot(x - sun_x, y - sun_y)
        glow = max(0.0, 1 - d / 110) ** 2
        c = mix(base, SUN, glow * 0.8)
        band = cloud[(y // 25) % 3][x]
        if 30 < y < 110 and abs(((y % 25) - 12) / 6) < 1:
            c = mix(c, (255, 210, 200), max(0.0, band) * 0.35 * (1 - abs(((y % 25) - 12) / 6)))
        if d < sun_r:
            c = mix(c, SUN, min(1.0, (sun_r - d) / 2))
        img[y][x] = c

# Three ranges of mountains, far to near: lighter and bluer far away, snow on the highest peaks.
ranges = [  # base line, height, shadowed and lit colour, snow above this line
    (80, 28, (120, 100, 150), (175, 140, 165), 70),
    (108, 22, (70, 70, 110), (120, 100, 130), 88),
    (128, 16, (40, 55, 70), (70, 85, 85), 0),
]
for base_y, height, dark, light, snow_line in ranges:
    ridge = smooth_noise(W, 60, 5)
    for x in range(W):
        top = int(base_y - height * ridge[x] - height * 0.3)
        slope = ridge[min(W - 1, x + 1)] - ridge[x]
        for y in range(max(0, top), horizon):
            depth = (y - top) / max(1, horizon - top)
            lit = min(1.0, max(0.0, 0.5 + slope * 6))
            c = mix(mix(dark, light, lit), dark, depth * 0.6)
            if y < snow_line and y - top < 8 - depth * 4:
                c = mix(c, (245, 235, 240), 0.8)
            img[y][x] = c

# Pines on the near shore, at fixed places.
for px, ph in [(14, 42), (30, 55), (44, 36), (212, 48), (228, 60), (244, 40), (58, 28), (196, 30)]:
    for y in range(horizon - ph, horizon):
        half = (y - (horizon - ph)) * 0.28 + 1
        for x in range(int(px - half), int(px + half) + 1):
            if 0 <= x < W:
                img[y][x] = mix((16, 40, 30), (30, 60, 40), ((x + y) % 5) / 5)

# The lake: the scene mirrored, darker and rippled, then the near shore.
for y in range(horizon, H):
    depth = (y - horizon) / (H - horizon)
    ripple = math.sin(y * 0.9) * (1 + depth * 3)
    for x in range(W):
        sx = min(W - 1, max(0, int(x + ripple)))
        sy = max(0, 2 * horizon - y - 1)
        c = mix(img[sy][sx], (20, 40, 80), 0.35 + depth * 0.4)
        img[y][x] = c
shore = smooth_noise(W, 30, 4)
for x in range(W):
    top = int(250 + 8 * shore[x])
    for y in range(top, H):
        img[y][x] = mix((60, 50, 35), (30, 25, 20), (y - top) / max(1, H - top))

# A little grain, as in a photograph.
out = bytearray()
for row in img:
    for c in row:
        g = rng.gauss(0, 4.7)
        out += bytes(max(0, min(255, int(v + g + 0.5))) for v in c)

ppm = b"P6 %d %d 255\n" % (W, H) + bytes(out)
subprocess.run(["convert", "ppm:-", "-strip", "-quality", str(QUALITY), "-sampling-factor", "2x2",
                "-interlace", "none", "jpg:about.jpg"], input=ppm, check=True)
