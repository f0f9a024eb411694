#!/usr/bin/env python3
"""Draws the builder's toolbar bitmap and its icons.

Writes resources/Toolbar.bmp (one 16x15 image per toolbar button, 16 colours, light grey
background that the toolbar maps to the button face), resources/Toolbar16.bmp, Toolbar24.bmp and
Toolbar32.bmp (the same images as square true-colour images with transparency, for the display
scales: the art is enlarged by edge-directed doubling and then resampled by area, so its
diagonals stay smooth) and resources/icons/*.ico (16, 24, 32 and 48 pixel true-colour images,
drawn from shapes with antialiasing)."""
import importlib.util
import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
found = importlib.util.spec_from_file_location('make_icon', os.path.join(HERE, 'make-icon.py'))
make_icon = importlib.util.module_from_spec(found)
found.loader.exec_module(make_icon)
VGA = make_icon.VGA

# Palette letters of the toolbar art (indexes into the 16 VGA colours).
LETTERS = {'k': 0, 'm': 1, 'e': 2, 'o': 3, 'n': 4, 'p': 5, 't': 6, '.': 7, 'g': 8, 'r': 9,
           'G': 10, 'y': 11, 'b': 12, 'f': 13, 'c': 14, 'w': 15}

# In toolbar order (the real buttons of the toolbar, separators left out).
BUTTONS = {
'undo': """
................
................
....b...........
...bb...........
..bbbbbbbbb.....
.bbbbbbbbbbbb...
..bbbbbbbbbbbb..
...bb......bbb..
....b.......bb..
............bb..
...........bbb..
.........bbbb...
.........bbb....
................
................""",
'redo': """
................
................
...........b....
...........bb...
.....bbbbbbbbb..
...bbbbbbbbbbbb.
..bbbbbbbbbbbb..
..bbb......bb...
..bb.......b....
..bb............
..bbb...........
...bbbb.........
....bbb.........
................
................""",
'new': """
................
...kkkkkkkk.....
...kwwwwwwkk....
...kwwwwwwkwk...
...kwwwwwwkkkk..
...kwwwwwwwwwk..
...kwwwwwwwwwk..
...kwwwwwwwwwk..
...kwwwwwwwwwk..
...kwwwwwwwwwk..
...kwwwwwwwwwk..
...kwwwwwwwwwk..
...kwwwwwwwwwk..
...kkkkkkkkkkk..
................""",
'open': """
................
................
.kkkk...........
kyyyyk..........
kyyyyykkkkkkk...
kyyyyyyyyyyyyk..
kyyykkkkkkkkkkkk
kyykoooooooooook
kyykooooooooook.
kykooooooooook..
kykoooooooook...
kkooooooooook...
kkkkkkkkkkkk....
................
................""",
'save': """
................
.kkkkkkkkkkkkkk.
.knkwwwwwwwwknk.
.knkwwwwwwwwknk.
.knkwggggggwknk.
.knkwwwwwwwwknk.
.knnkkkkkkkknnk.
.knnnnnnnnnnnnk.
.knnkkkkkkkknnk.
.knnk..nn..knnk.
.knnk..nn..knnk.
.knnk..nn..knnk.
..kkkkkkkkkkkkk.
................
................""",
'wizard': """
................
..........y.....
.....y....y.....
..........y..y..
.......yyyyyyy..
...........y....
.........kwy..y.
........kwk.y...
.......kwk......
......kwk.......
.....kwk........
....kwk.........
...kwk..........
...kk...........
................""",
'newfolder': """
..........y.....
.......y..y..y..
........yyyyy...
.......yyyyyyy..
..kkkk..yyyyy...
.kyyyyk.y.y.y...
kkkkkkkkkkk.....
kyyyyyyyyyyk....
kyyyyyyyyyyk....
kyyyyyyyyyyk....
kyyyyyyyyyyk....
kyyyyyyyyyyk....
kkkkkkkkkkkk....
................
................""",
'insertfiles': """
................
..kkkkkkk.......
..kwwwwwkk......
..kwgggwkwk.....
..kwwwwwkkkk....
..kwgggggwwk....
..kwwwwwwwwk....
..kwggggeeeeee..
..kwwwwweGGGGe..
..kwgggeeeGGeee.
..kwwwwweGGGGGe.
..kkkkkkeeeGGee.
.........eGGe...
.........eeee...
................""",
'shortcutfolder': """
................
................
..kkkk..........
.kyyyyk.........
kkkkkkkkkkk.....
kyyyyyyyyyyk....
kyyyyyyyyyyk....
kyykkkkkkkyk....
kyykwwwwwwkyk...
kyykwkkkkwkyk...
kyykwkkwwwkyk...
kyykwkwkwwkyk...
kkkkwkwwkwkkk...
....kwwwwwwk....
....kkkkkkkk....""",
'shortcut': """
................
..kkkkkkk.......
..kwwwwwkk......
..kwwwwwkwk.....
..kwwwwwkkkk....
..kwwwwwwwwk....
..kwkkkkkkwk....
..kwkwwwwwkwk...
..kwkwkkkkwk....
..kwkwkkwwwk....
..kwkwkwkwwk....
..kwkwkwwkwk....
..kwkkkkkkkk....
..kkkkkkkkkk....
................""",
'internetshortcut': """
................
.....kkkkkk.....
...kkbbGGbbkk...
..kbbbGGGbbbbk..
..kbbGGGGGbbbk..
.kbbbGGGGbbGGbk.
.kbbbbGGbbbGGbk.
.kbbbbbGbbGGGbk.
.kbbbbbbbGGGGbk.
.kbbbbbbbbGGbbk.
..kbbbbbbbGbbk..
..kbbbbbbbbbbk..
...kkbbbbbbkk...
.....kkkkkk.....
................""",
'newkey': """
................
................
......kkkkk.....
.....kcccctk....
....kcccctttk...
...kkkkkkttttk..
...kcccctkttk...
...kcccctktk....
...kcccctkk.....
...kkkkkkk......
................
......G.........
.....GGG........
......G.........
................""",
'newstring': """
................
.kkkkkkkkkkkkkk.
.kwwwwwwwwwwwwk.
.kwwwwwwwwwwwwk.
.kwwwwwwrwwwwwk.
.kwwwwwwrwwwwwk.
.kwrrrwwrrrrwwk.
.kwwwrwwrwwwrwk.
.kwrrrwwrwwwrwk.
.kwrwrwwrwwwrwk.
.kwrrrrwrrrrwwk.
.kwwwwwwwwwwwwk.
.kwwwwwwwwwwwwk.
.kkkkkkkkkkkkkk.
................""",
'newbinary': """
................
.kkkkkkkkkkkkkk.
.kwwwwwwwwwwwwk.
.kwwwwwwwwwwwwk.
.kwbbbwwbwwbwwk.
.kwbwbwbbwbbwwk.
.kwbwbwwbwwbwwk.
.kwbwbwwbwwbwwk.
.kwbbbwbbbbbbwk.
.kwwwwwwwwwwwwk.
.kwwwwwwwwwwwwk.
.kwwwwwwwwwwwwk.
.kwwwwwwwwwwwwk.
.kkkkkkkkkkkkkk.
................""",
'newdword': """
................
.kkkkkkkkkkkkkk.
.kwwwwwwwwwwwwk.
.kwwwwwwwwwwwwk.
.kwtttwwwwtttwk.
.kwwwtwwwwwwtwk.
.kwttwwttwtttwk.
.kwwwtwwwwtwwwk.
.kwtttwwwwtttwk.
.kwwwwwwwwwwwwk.
.kwwwwwwwwwwwwk.
.kwwwwwwwwwwwwk.
.kwwwwwwwwwwwwk.
.kkkkkkkkkkkkkk.
................""",
'fileassociation': """
................
..kkkkkkk.......
..kwwwwwkk......
..kwwwwwkwk.....
..kwwwwwkkkk....
..kwwwwwwwwk....
..kwwkkkkkkkkk..
..kwwkpppppppk..
..kwwkpwwwwwpk..
..kwwkpwffwwpk..
..kwwkpwffffpk..
..kkkkpwwwwwpk..
......pppppppk..
......kkkkkkkk..
................""",
'delete': """
................
................
..rr.......rr...
..rrr.....rrr...
...rrr...rrr....
....rrr.rrr.....
.....rrrrr......
......rrr.......
.....rrrrr......
....rrr.rrr.....
...rrr...rrr....
..rrr.....rrr...
..rr.......rr...
................
................""",
'properties': """
................
..kkkkkkkkkkk...
..kwwwwwwwwwk...
..kwkkwggggwk...
..kwwwwwwwwwk...
..kwkkwggggwk...
..kwwwwwwwwwk...
..kwkkwggggwk...
..kwwwwwwwwwk...
..kwkkwggkkkkkk.
..kwwwwwwkwwwwk.
..kkkkkkkkwGwGk.
.........kGwGwk.
.........kkkkkk.
................""",
'build': """
................
.......kk.......
.......kk.......
.....k.kk.k.....
......kkkk......
.......kk.......
..kkkkkkkkkkkk..
.koooooooooookk.
kyyyyyyyyyyyykok
kyyyyymmyyyyykok
kyyyyymmyyyyykok
kyyyyyyyyyyyykok
kyyyyyyyyyyyykk.
kkkkkkkkkkkkkk..
................""",
'testrun': """
................
....kk..........
....keek........
....keGeek......
....keGGGeek....
....keGGGGGeek..
....keGGGGGGGek.
....keGGGGGGGek.
....keGGGGGeek..
....keGGGeek....
....keGeek......
....keek........
....kk..........
................
................""",
'web': """
................
.....kkkkkk.....
...kkcccbbbkk...
..kcccccbbbbbk..
..kcwbbbbbbbbk..
.kcwbbbbbkkbbbk.
.kcbbbbbkwwkbbk.
.kbbbbbbkwwwkbk.
.kbbbbbbkwwwwkk.
.kbbbbbbkwwwkkk.
..kbbbbbkwwwk...
..kbbbbbkkwwk...
...kkbbbbkkwwk..
.....kkkkkkkk...
................""",
'help': """
................
..kkkkkkkkkk....
.knnnnnnnnnnk...
.knnnwwwwnnnk...
.knnwwnnwwnnk...
.knnnnnnwwnnk...
.knnnnnwwnnnk...
.knnnnwwnnnnk...
.knnnnnnnnnnk...
.knnnnwwnnnnk...
.knnnnnnnnnnkk..
.kkkkkkkkkkkkwk.
..kwwwwwwwwwwwk.
...kkkkkkkkkkkk.
................""",
'about': """
................
.....kkkkkk.....
...kkbbbbbbkk...
..kbbbbwwbbbbk..
..kbbbbwwbbbbk..
.kbbbbbbbbbbbbk.
.kbbbbwwwbbbbbk.
.kbbbbbwwbbbbbk.
.kbbbbbwwbbbbbk.
.kbbbbbwwbbbbbk.
..kbbbwwwwbbbk..
..kbbbbbbbbbbk..
...kkbbbbbbkk...
.....kkkkkk.....
................""",
}
ORDER = ['new', 'open', 'save', 'undo', 'redo', 'wizard', 'newfolder', 'insertfiles', 'shortcutfolder', 'shortcut',
         'internetshortcut', 'newkey', 'newstring', 'newbinary', 'newdword', 'fileassociation',
         'delete', 'properties', 'build', 'testrun', 'web', 'help', 'about']

def art(name):
    rows = BUTTONS[name].strip('\n').split('\n')
    assert len(rows) == 15 and all(len(r) == 16 for r in rows), name
    return rows

def toolbar_bmp(path):
    width, height = 16 * len(ORDER), 15
    images = [art(n) for n in ORDER]
    stride = ((width * 4 + 31) // 32) * 4
    bits = b''
    for y in reversed(range(height)):
        row = [LETTERS[images[x // 16][y][x % 16]] for x in range(width)]
        line = bytes((row[i] << 4) | row[i + 1] for i in range(0, width, 2))
        bits += line + b'\0' * (stride - len(line))
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in VGA)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(bits), 2835, 2835, 16, 0)
    offset = 14 + len(info) + len(palette)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', offset + len(bits), 0, 0, offset) + info + palette + bits)

def scale2x(image):
    """Doubles an image of palette letters, rounding the steps of its diagonals (EPX)."""
    height, width = len(image), len(image[0])
    at = lambda x, y: image[min(max(y, 0), height - 1)][min(max(x, 0), width - 1)]
    out = [[None] * (2 * width) for _ in range(2 * height)]
    for y in range(height):
        for x in range(width):
            p, a, b, c, d = at(x, y), at(x, y - 1), at(x + 1, y), at(x - 1, y), at(x, y + 1)
            quad = [p, p, p, p]
            if c == a and c != d and a != b:
                quad[0] = a
            if a == b and a != c and b != d:
                quad[1] = b
            if d == c and d != b and c != a:
                quad[2] = c
            if b == d and b != a and d != c:
                quad[3] = d
            out[2 * y][2 * x], out[2 * y][2 * x + 1], out[2 * y + 1][2 * x], out[2 * y + 1][2 * x + 1] = quad
    return out

def resample(image, size):
    """Pixels (r, g, b, a) of a square image of letters ('.' transparent) at size x size, each
    the area-weighted average of the source pixels it covers."""
    source = len(image)
    ratio = source / size
    pixels = []
    for j in range(size):
        row = []
        for i in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            y0, y1, x0, x1 = j * ratio, (j + 1) * ratio, i * ratio, (i + 1) * ratio
            for sy in range(int(y0), min(source, math.ceil(y1))):
                wy = min(y1, sy + 1) - max(y0, sy)
                for sx in range(int(x0), min(source, math.ceil(x1))):
                    w = wy * (min(x1, sx + 1) - max(x0, sx))
                    letter = image[sy][sx]
                    if letter == '.':
                        continue
                    r, g, b = VGA[LETTERS[letter]]
                    acc[0] += r * w
                    acc[1] += g * w
                    acc[2] += b * w
                    acc[3] += w
            area = ratio * ratio
            if acc[3] <= 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]),
                            round(255 * acc[3] / area)))
        pixels.append(row)
    return pixels

def toolbar_bmp_32(path, size):
    """The buttons side by side as size x size true-colour images with alpha, bottom-up."""
    images = []
    for name in ORDER:
        square = art(name) + ['.' * 16]
        if size == 16:
            images.append(resample(square, 16))
        else:
            images.append(resample(scale2x(scale2x(square)), size))
    width = size * len(images)
    bits = b''
    for y in reversed(range(size)):
        for image in images:
            bits += b''.join(struct.pack('<BBBB', b, g, r, a) for r, g, b, a in image[y])
    info = struct.pack('<IiiHHIIiiII', 40, width, size, 1, 32, 0, len(bits), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', offset + len(bits), 0, 0, offset) + info + bits)

# --- icons drawn from shapes, sampled several times per pixel --------------------------------

def in_poly(x, y, pts):
    inside = False
    for i in range(len(pts)):
        (x1, y1), (x2, y2) = pts[i], pts[i - 1]
        if (y1 > y) != (y2 > y) and x < (x2 - x1) * (y - y1) / (y2 - y1) + x1:
            inside = not inside
    return inside

def near_segment(x, y, a, b, width):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - ax - t * dx, y - ay - t * dy) <= width / 2

def page(x, y, left=0.2, right=0.8, top=0.06, bottom=0.94, fold=0.2):
    """A white sheet with a folded corner and a dark outline; None outside."""
    edge = 0.035
    outline = [(left, top), (right - fold, top), (right, top + fold), (right, bottom), (left, bottom)]
    if not in_poly(x, y, outline):
        return None
    inner = [(left + edge, top + edge), (right - fold - edge / 2, top + edge), (right - edge, top + fold + edge / 2),
             (right - edge, bottom - edge), (left + edge, bottom - edge)]
    if not in_poly(x, y, inner):
        return (60, 70, 90)
    if x > right - fold - edge and y < top + fold + edge and x - (right - fold) < y - top + edge:
        return (200, 210, 225)
    return (255, 255, 255)

def folder(x, y, open_=False):
    back = [(0.06, 0.2), (0.36, 0.2), (0.42, 0.28), (0.9, 0.28), (0.9, 0.84), (0.06, 0.84)]
    front = ([(0.2, 0.42), (0.98, 0.42), (0.86, 0.84), (0.06, 0.84)] if open_
             else [(0.06, 0.34), (0.9, 0.34), (0.9, 0.84), (0.06, 0.84)])
    if in_poly(x, y, front):
        inner = [(px + (0.03 if px < 0.5 else -0.03), py + (0.03 if py < 0.6 else -0.03)) for px, py in front]
        return (250, 214, 90) if in_poly(x, y, inner) else (150, 110, 20)
    if in_poly(x, y, back):
        inner = [(px + (0.03 if px < 0.5 else -0.03), py + (0.03 if py < 0.6 else -0.03)) for px, py in back]
        return (220, 170, 50) if in_poly(x, y, inner) else (150, 110, 20)
    return None

def star(x, y, cx, cy, r):
    pts = []
    for k in range(10):
        a = -math.pi / 2 + k * math.pi / 5
        rr = r if k % 2 == 0 else r * 0.45
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    return in_poly(x, y, pts)

def text_lines(x, y, colour=(150, 160, 180)):
    for k in range(5):
        ly = 0.4 + k * 0.1
        if 0.3 <= x <= 0.68 and ly <= y <= ly + 0.035:
            return colour
    return None

def shape_wizard(x, y):
    if near_segment(x, y, (0.18, 0.86), (0.62, 0.42), 0.09):
        return (255, 255, 255) if near_segment(x, y, (0.5, 0.54), (0.62, 0.42), 0.09) else (40, 40, 50)
    if star(x, y, 0.7, 0.3, 0.22):
        return (250, 200, 40)
    for cx, cy, r in ((0.3, 0.2, 0.08), (0.88, 0.66, 0.07), (0.5, 0.12, 0.05)):
        if star(x, y, cx, cy, r):
            return (250, 220, 90)
    return None

def shape_new(x, y):
    if star(x, y, 0.76, 0.24, 0.2):
        return (250, 200, 40)
    return page(x, y)

def shape_open(x, y):
    return folder(x, y, open_=True)

def shape_document(x, y):
    c = page(x, y)
    if c != (255, 255, 255):
        return c
    # The application's box and quill, small, on the sheet.
    if 0.3 <= x <= 0.62 and 0.56 <= y <= 0.84:
        return (240, 196, 110) if abs(x - 0.46) > 0.025 else (200, 140, 60)
    if near_segment(x, y, (0.46, 0.6), (0.72, 0.3), 0.06):
        return (40, 90, 200)
    return c

def shape_file(x, y):
    c = page(x, y)
    return text_lines(x, y) or c if c == (255, 255, 255) else c

def shortcut_arrow(x, y):
    if 0.04 <= x <= 0.44 and 0.56 <= y <= 0.96:
        if not (0.08 <= x <= 0.4 and 0.6 <= y <= 0.92):
            return (40, 40, 50)
        if near_segment(x, y, (0.14, 0.86), (0.32, 0.68), 0.07) or in_poly(x, y, [(0.22, 0.66), (0.36, 0.64), (0.34, 0.78)]):
            return (20, 20, 20)
        return (255, 255, 255)
    return None

def shape_shortcut(x, y):
    return shortcut_arrow(x, y) or shape_file(x, y)

def globe(x, y, cx=0.5, cy=0.5, r=0.42):
    d = math.hypot(x - cx, y - cy)
    if d > r:
        return None
    if d > r - 0.04:
        return (20, 50, 120)
    land = (math.sin((x - cx) * 9) + math.cos((y - cy) * 7) + 0.3 * math.sin(x * 23)) > 0.9
    return (60, 170, 70) if land else (60, 120, 230)

def shape_internet_shortcut(x, y):
    return shortcut_arrow(x, y) or globe(x, y, 0.56, 0.44, 0.4)

def cube(x, y):
    top = [(0.2, 0.34), (0.5, 0.18), (0.8, 0.34), (0.5, 0.5)]
    left = [(0.2, 0.34), (0.5, 0.5), (0.5, 0.86), (0.2, 0.7)]
    right = [(0.5, 0.5), (0.8, 0.34), (0.8, 0.7), (0.5, 0.86)]
    for pts, colour in ((top, (120, 220, 220)), (left, (40, 170, 170)), (right, (20, 120, 130))):
        if in_poly(x, y, pts):
            return colour
    for a, b in ((top[0], top[1]), (top[1], top[2]), (top[2], top[3]), (top[3], top[0]), (left[2], left[3]),
                 (left[0], left[3]), (right[1], right[2]), (right[2], right[3]), (top[3], left[2])):
        if near_segment(x, y, a, b, 0.04):
            return (20, 40, 50)
    return None

def value_sheet(x, y, glyph):
    if not (0.08 <= x <= 0.92 and 0.2 <= y <= 0.8):
        return None
    if not (0.12 <= x <= 0.88 and 0.24 <= y <= 0.76):
        return (60, 70, 90)
    return glyph(x, y) or (255, 255, 255)

def glyph_ab(x, y):
    # "ab" in red strokes.
    if near_segment(x, y, (0.22, 0.66), (0.22, 0.44), 0.07) or near_segment(x, y, (0.22, 0.44), (0.42, 0.44), 0.07):
        return (200, 30, 30)
    if near_segment(x, y, (0.42, 0.44), (0.42, 0.66), 0.07) or near_segment(x, y, (0.22, 0.55), (0.42, 0.55), 0.07):
        return (200, 30, 30)
    if near_segment(x, y, (0.56, 0.32), (0.56, 0.66), 0.07) or near_segment(x, y, (0.56, 0.66), (0.76, 0.66), 0.07):
        return (200, 30, 30)
    if near_segment(x, y, (0.76, 0.66), (0.76, 0.46), 0.07) or near_segment(x, y, (0.56, 0.46), (0.76, 0.46), 0.07):
        return (200, 30, 30)
    return None

def glyph_01(x, y):
    d = math.hypot((x - 0.32) / 0.1, (y - 0.5) / 0.17)
    if 0.72 <= d <= 1.15:
        return (30, 60, 200)
    if near_segment(x, y, (0.64, 0.32), (0.64, 0.68), 0.08) or near_segment(x, y, (0.56, 0.4), (0.64, 0.32), 0.07):
        return (30, 60, 200)
    return None

def glyph_0x(x, y):
    # "0x" in green strokes: the number (DWORD) value.
    d = math.hypot((x - 0.32) / 0.1, (y - 0.5) / 0.17)
    if 0.72 <= d <= 1.15:
        return (20, 130, 40)
    if near_segment(x, y, (0.52, 0.42), (0.76, 0.68), 0.07) or near_segment(x, y, (0.52, 0.68), (0.76, 0.42), 0.07):
        return (20, 130, 40)
    return None

ICONS = {
    'Wizard': shape_wizard, 'NewProject': shape_new, 'OpenProject': shape_open, 'File': shape_file,
    'Shortcut': shape_shortcut, 'InternetShortcut': shape_internet_shortcut, 'RegistryKey': cube,
    'RegistryString': lambda x, y: value_sheet(x, y, glyph_ab),
    'RegistryBinary': lambda x, y: value_sheet(x, y, glyph_01), 'ProjectDocument': shape_document,
    'RegistryNumber': lambda x, y: value_sheet(x, y, glyph_0x),
}

def write_icon(path, shape):
    make_icon.write_ico(path, [(size, 0, 32, make_icon.dib_32bit(make_icon.render(size, shape=shape)))
                               for size in (16, 24, 32, 48)])

def main(top):
    toolbar_bmp(os.path.join(top, 'resources', 'Toolbar.bmp'))
    for size in (16, 24, 32):
        toolbar_bmp_32(os.path.join(top, 'resources', 'Toolbar%d.bmp' % size), size)
    folder_ = os.path.join(top, 'resources', 'icons')
    os.makedirs(folder_, exist_ok=True)
    for name, shape in ICONS.items():
        write_icon(os.path.join(folder_, name + '.ico'), shape)

main(sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(HERE))
