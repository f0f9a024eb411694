#!/usr/bin/env python3
"""Draws the application icon: a package box with a quill on a blue tile.

Writes resources/Quillset.ico with a 32x32 16-colour image (the 744-byte image that icon
replacement looks for, so it must come first among the 32x32 images and never change once
programs carry it), and 16, 32, 48 and 256 pixel true-colour images for today's displays."""
import math
import struct
import sys
import zlib

def shade(x, y):
    """Colour (r, g, b, a) of the icon at a point of the unit square."""
    # Rounded tile with a vertical blue gradient.
    r = 0.16
    cx = min(max(x, r), 1 - r)
    cy = min(max(y, r), 1 - r)
    if (x - cx) ** 2 + (y - cy) ** 2 > r * r or not (0.02 <= x <= 0.98 and 0.02 <= y <= 0.98):
        return None
    t = y
    col = (int(40 + 20 * t), int(110 - 40 * t), int(210 - 60 * t))
    # Box: front face, lid and side.
    if 0.22 <= x <= 0.62 and 0.48 <= y <= 0.84:
        col = (240, 196, 110)
        if abs(x - 0.42) < 0.035:
            col = (200, 140, 60)
    elif 0.62 < x <= 0.80 and 0.40 + (x - 0.62) * -0.45 + 0.08 <= y <= 0.84 - (x - 0.62) * 0.45:
        col = (196, 140, 70)
    elif 0.22 <= x <= 0.80 and 0.38 <= y < 0.48 and y >= 0.48 - (x - 0.22) * 0.6 * 0 - 0.10:
        col = (252, 222, 150)
    # Quill: a white feather rising from the box to the upper right.
    px, py = x - 0.42, y - 0.55
    ax, ay = 0.45, -0.40
    length = math.hypot(ax, ay)
    u = (px * ax + py * ay) / (length * length)
    if 0.0 <= u <= 1.0:
        d = abs(px * ay - py * ax) / length
        width = 0.11 * math.sin(math.pi * min(1.0, u * 1.1)) if u > 0.25 else 0.012
        if d <= max(width, 0.012):
            col = (255, 255, 255) if d > 0.014 or u <= 0.25 else (90, 90, 110)
    return col + (255,)

def render(size, samples=4, shape=shade):
    """Pixels (r, g, b, a) of `shape` at `size`, each averaged over samples x samples points."""
    pixels = []
    for j in range(size):
        row = []
        for i in range(size):
            acc = [0, 0, 0, 0]
            for sj in range(samples):
                for si in range(samples):
                    c = shape((i + (si + 0.5) / samples) / size, (j + (sj + 0.5) / samples) / size)
                    if c:
                        for k in range(3):
                            acc[k] += c[k]
                        acc[3] += 1
            n = samples * samples
            if acc[3]:
                row.append((acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3], 255 * acc[3] // n))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels

VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
       (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
       (255, 0, 255), (0, 255, 255), (255, 255, 255)]

def nearest(c):
    return min(range(16), key=lambda k: sum((a - b) ** 2 for a, b in zip(VGA[k], c[:3])))

def dib_4bit(pixels):
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in VGA)
    xor = b''
    andm = b''
    for row in reversed(pixels):
        idx = [nearest(c) if c[3] >= 128 else 0 for c in row]
        xor += bytes((idx[i] << 4) | idx[i + 1] for i in range(0, size, 2))
        bits = 0
        mask = b''
        for i, c in enumerate(row):
            bits = (bits << 1) | (1 if c[3] < 128 else 0)
            if i % 8 == 7:
                mask += bytes([bits])
                bits = 0
        mask += b'\0' * ((4 - len(mask) % 4) % 4)
        andm += mask
    return header + palette + xor + andm

def dib_32bit(pixels):
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(struct.pack('<BBBB', c[2], c[1], c[0], c[3]) for row in reversed(pixels) for c in row)
    rowbytes = ((size + 31) // 32) * 4
    andm = b''
    for row in reversed(pixels):
        bits = bytearray(rowbytes)
        for i, c in enumerate(row):
            if c[3] == 0:
                bits[i // 8] |= 0x80 >> (i % 8)
        andm += bytes(bits)
    return header + xor + andm

def png(pixels):
    size = len(pixels)
    raw = b''.join(b'\0' + bytes(v for c in row for v in c) for row in pixels)
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))

def write_ico(path, images):
    """An .ico file of (width, colours, bit count, image bytes) images, in the order given."""
    offset = 6 + 16 * len(images)
    entries = body = b''
    for width, colours, bits, data in images:
        entries += struct.pack('<BBBBHHII', width % 256, width % 256, colours, 0, 1, bits, len(data), offset + len(body))
        body += data
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 1, len(images)) + entries + body)

def main(out):
    images = []  # (width, colours, bitcount, data)
    p32 = render(32)
    images.append((32, 16, 4, dib_4bit(p32)))
    assert len(images[0][3]) == 744
    images.append((16, 0, 32, dib_32bit(render(16))))
    images.append((32, 0, 32, dib_32bit(p32)))
    images.append((48, 0, 32, dib_32bit(render(48))))
    images.append((256, 0, 32, png(render(256, 2))))
    write_ico(out, images)

if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'resources/Quillset.ico')
