#!/usr/bin/env python3
"""Draws the demo product's setup icon, examples/Demo/Demo.ico: a green disc with a white tick,
in five images as a product ships them: 16x16, 32x32 and 48x48 true-colour bitmaps, a 32x32
16-colour bitmap and a PNG-compressed 256x256 image."""
import os
import struct
import zlib

GREEN, WHITE, CLEAR = (0, 128, 0), (255, 255, 255), None
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def pixel(x, y, size):
    # Drawn on a 32-unit grid, scaled to the image size.
    x, y = (x + 0.5) * 32 / size - 0.5, (y + 0.5) * 32 / size - 0.5
    cx = cy = 15.5
    if (x - cx) ** 2 + (y - cy) ** 2 > 15 ** 2:
        return CLEAR
    # The tick: a short stroke down to (13, 22), then a long one up to (25, 9).
    def near(ax, ay, bx, by):
        t = max(0, min(1, ((x - ax) * (bx - ax) + (y - ay) * (by - ay)) / ((bx - ax) ** 2 + (by - ay) ** 2)))
        return (x - ax - t * (bx - ax)) ** 2 + (y - ay - t * (by - ay)) ** 2 <= 2.2 ** 2
    return WHITE if near(7, 16, 13, 22) or near(13, 22, 25, 9) else GREEN


def rows(size):  # bottom-up, as bitmaps are stored
    return [[pixel(x, y, size) for x in range(size)] for y in reversed(range(size))]


def mask(size):
    out = b''
    stride = (size + 31) // 32 * 4
    for row in rows(size):
        bits = 0
        for c in row:
            bits = bits << 1 | (c is CLEAR)
        out += (bits << (stride * 8 - size)).to_bytes(stride, 'big')
    return out


def image_4bit(size):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in VGA)
    colour = b''
    for row in rows(size):
        idx = [VGA.index(c) if c else 0 for c in row]
        colour += bytes(idx[i] << 4 | idx[i + 1] for i in range(0, size, 2))
    return header + palette + colour + mask(size)


def image_32bit(size):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''.join(struct.pack('<BBBB', c[2], c[1], c[0], 255) if c else b'\0' * 4
                      for row in rows(size) for c in row)
    return header + colour + mask(size)


def image_png(size):
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    raw = b''.join(b'\0' + b''.join(bytes(c) + b'\xff' if c else b'\0' * 4 for c in row)
                   for row in reversed(rows(size)))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main():
    # (width, colours, bits, image); a width of 256 is written as 0.
    images = [(16, 0, 32, image_32bit(16)), (32, 0, 32, image_32bit(32)), (48, 0, 32, image_32bit(48)),
              (256, 0, 32, image_png(256)), (32, 16, 4, image_4bit(32))]
    offset = 6 + 16 * len(images)
    data = struct.pack('<HHH', 0, 1, len(images))
    for size, colours, bits, image in images:
        data += struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0, 1, bits, len(image), offset)
        offset += len(image)
    data += b''.join(image for _, _, _, image in images)
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), 'Demo.ico'), 'wb') as f:
        f.write(data)


main()
