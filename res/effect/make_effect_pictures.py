#!/usr/bin/env python3
"""Writes the sample effect pictures of this folder (PNG, standard library only).

Grey pictures push all three axes alike; the coloured gradient pushes X, Y and Z differently.
Run: python3 res/effect/make_effect_pictures.py
"""

import math
import os
import struct
import zlib

OUT = os.path.dirname(os.path.abspath(__file__))


def write_png(name, size, pixel):
    raw = bytearray()
    for y in range(size):
        raw.append(0)
        for x in range(size):
            raw.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    data = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def grey(v):
    v = max(0, min(255, int(v)))
    return (v, v, v)


def lattice(ix, iy, period, seed):
    """A repeatable pseudo-random value in 0..1 for a lattice point (wraps with the period)."""
    ix %= period
    iy %= period
    h = (ix * 374761393 + iy * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0


def value_noise(x, y, size, seed):
    """Smooth noise of four octaves that tiles, so the sculpt seam stays closed."""
    total = 0.0
    amplitude = 1.0
    norm = 0.0
    for octave in range(4):
        period = 4 << octave
        fx = x * period / size
        fy = y * period / size
        ix, iy = int(fx), int(fy)
        tx, ty = fx - ix, fy - iy
        sx, sy = tx * tx * (3 - 2 * tx), ty * ty * (3 - 2 * ty)
        a = lattice(ix, iy, period, seed + octave)
        b = lattice(ix + 1, iy, period, seed + octave)
        c = lattice(ix, iy + 1, period, seed + octave)
        d = lattice(ix + 1, iy + 1, period, seed + octave)
        top = a + (b - a) * sx
        bottom = c + (d - c) * sx
        total += amplitude * (top + (bottom - top) * sy)
        norm += amplitude
        amplitude *= 0.5
    return total / norm


def main():
    write_png("noise.png", 256, lambda x, y: grey(255 * value_noise(x, y, 256, 7)))
    write_png("ridges.png", 256,
              lambda x, y: grey(127.5 + 127.5 * math.sin(2 * math.pi * 8 * x / 256)))
    write_png("rings.png", 256, lambda x, y: grey(
        127.5 + 127.5 * math.cos(2 * math.pi * math.hypot(x - 128, y - 128) / 32)))
    write_png("gradient_down.png", 64, lambda x, y: grey(y * 255 / 63))
    write_png("gradient_rgb.png", 64, lambda x, y: (x * 4, y * 4, (x + y) * 2))
    write_png("dome.png", 64, lambda x, y: grey(
        255 * max(0.0, 1 - (math.hypot(x - 31.5, y - 31.5) / 32) ** 2)))
    write_png("checker.png", 64, lambda x, y: grey(255 if (x // 8 + y // 8) % 2 else 0))


if __name__ == "__main__":
    main()
