#!/usr/bin/env python3
"""Draws the demo product's setup icon, examples/Demo/Demo.ico: a green disc with a white tick,
as a 32x32 16-colour image (the one that replaces the setup program's icon) and a 32x32
true-colour image."""
import os
import struct

SIZE = 32
GREEN, WHITE, CLEAR = (0, 128, 0), (255, 255, 255), None
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def pixel(x, y):
    cx = cy = (SIZE - 1) / 2
    if (x - cx) ** 2 + (y - cy) ** 2 > 15 ** 2:
        return CLEAR
    # The tick: a short stroke down to (13, 22), then a long one up to (25, 9).
    def near(ax, ay, bx, by):
        t = max(0, min(1, ((x - ax) * (bx - ax) + (y - ay) * (by - ay)) / ((bx - ax) ** 2 + (by - ay) ** 2)))
        return (x - ax - t * (bx - ax)) ** 2 + (y - ay - t * (by - ay)) ** 2 <= 2.2 ** 2
    return WHITE if near(7, 16, 13, 22) or near(13, 22, 25, 9) else GREEN


def rows():  # bottom-up, as bitmaps are stored
    return [[pixel(x, y) for x in range(SIZE)] for y in reversed(range(SIZE))]


def mask():
    out = b''
    for row in rows():
        bits = 0
        for x, c in enumerate(row):
            bits = bits << 1 | (c is CLEAR)
        out += struct.pack('>I', bits)
    return out


def image_4bit():
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in VGA)
    colour = b''
    for row in rows():
        idx = [VGA.index(c) if c else 0 for c in row]
        colour += bytes(idx[i] << 4 | idx[i + 1] for i in range(0, SIZE, 2))
    return header + palette + colour + mask()


def image_32bit():
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''.join(struct.pack('<BBBB', c[2], c[1], c[0], 255) if c else b'\0' * 4 for row in rows() for c in row)
    return header + colour + mask()


def main():
    images = [(16, 4, image_4bit()), (0, 32, image_32bit())]
    assert len(images[0][2]) == 744
    offset = 6 + 16 * len(images)
    data = struct.pack('<HHH', 0, 1, len(images))
    for colours, bits, image in images:
        data += struct.pack('<BBBBHHII', SIZE, SIZE, colours, 0, 1, bits, len(image), offset)
        offset += len(image)
    data += b''.join(image for _, _, image in images)
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), 'Demo.ico'), 'wb') as f:
        f.write(data)


main()
