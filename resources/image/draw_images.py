#!/usr/bin/env python3
"""Draws the lamp images and the program icon. Run from this folder to regenerate them."""
import math
import struct
import zlib

SS = 4  # supersampling per axis


def write_png(path, size, pixel):
    rows = []
    for y in range(size):
        row = bytearray([0])
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SS):
                for sx in range(SS):
                    r, g, b, a = pixel((x + (sx + 0.5) / SS) / size, (y + (sy + 0.5) / SS) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = SS * SS
            alpha = acc[3] / n
            if alpha > 0:
                colour = [acc[i] / acc[3] for i in range(3)]
            else:
                colour = [0, 0, 0]
            row += bytes([round(max(0, min(255, c))) for c in colour] + [round(alpha * 255)])
        rows.append(bytes(row))
    raw = b"".join(rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return [a[i] + (b[i] - a[i]) * t for i in range(3)]


def lamp(centre, rim, glow):
    def pixel(u, v):
        dx, dy = u - 0.5, v - 0.5
        d = math.hypot(dx, dy)
        if d > 0.47:
            return (0, 0, 0, 0)
        if d > 0.40:  # bezel
            return (*mix([210, 214, 220], [150, 156, 166], (v - 0.1) / 0.8), 1.0)
        colour = mix(centre, rim, d / 0.40)
        # a soft highlight up and to the left
        h = math.hypot(u - 0.40, v - 0.36)
        colour = mix(colour, [255, 255, 255], glow * max(0.0, 1 - h / 0.16))
        return (*colour, 1.0)
    return pixel


def icon(u, v):
    # rounded blue tile
    r = 0.18
    x = min(max(u, r + 0.03), 0.97 - r)
    y = min(max(v, r + 0.03), 0.97 - r)
    if math.hypot(u - x, v - y) > r:
        return (0, 0, 0, 0)
    tile = mix([52, 130, 214], [22, 72, 150], v)
    d = math.hypot(u - 0.5, v - 0.5)
    if 0.30 < d < 0.36:  # measuring aperture ring
        return (255, 255, 255, 1.0)
    if d <= 0.30:
        # a sample half clear, half tinted: haze and colour
        if u < 0.5:
            return (*mix([236, 244, 252], [200, 222, 244], v), 1.0)
        return (*mix([255, 196, 64], [236, 120, 40], v), 1.0)
    return (*tile, 1.0)


write_png("led_on.png", 32, lamp([150, 255, 150], [20, 160, 40], 0.9))
write_png("led_off.png", 32, lamp([150, 150, 150], [90, 90, 90], 0.5))
write_png("velorin.png", 128, icon)
