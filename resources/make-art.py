#!/usr/bin/env python3
"""Draws the product's logo (204 x 66, 16 colours) and program icon (32 x 32, 16 colours).

The outputs are committed; run this again only to change the pictures."""
import struct, os

PALETTE = [(0,0,0),(128,0,0),(0,128,0),(128,128,0),(0,0,128),(128,0,128),(0,128,128),(192,192,192),
           (128,128,128),(255,0,0),(0,255,0),(255,255,0),(0,0,255),(255,0,255),(0,255,255),(255,255,255)]
BLACK, NAVY, GREY, SILVER, BLUE, YELLOW, WHITE, CYAN, TEAL = 0, 4, 8, 7, 12, 11, 15, 14, 6

GLYPHS = {
 'P': ["1111.", "1...1", "1...1", "1111.", "1....", "1....", "1...."],
 'I': ["111", ".1.", ".1.", ".1.", ".1.", ".1.", "111"],
 'C': [".111.", "1...1", "1....", "1....", "1....", "1...1", ".111."],
 'T': ["11111", "..1..", "..1..", "..1..", "..1..", "..1..", "..1.."],
 'A': [".111.", "1...1", "1...1", "11111", "1...1", "1...1", "1...1"],
 'V': ["1...1", "1...1", "1...1", "1...1", ".1.1.", ".1.1.", "..1.."],
 'O': [".111.", "1...1", "1...1", "1...1", "1...1", "1...1", ".111."],
 'R': ["1111.", "1...1", "1...1", "1111.", "1.1..", "1..1.", "1...1"],
 'N': ["1...1", "11..1", "1.1.1", "1.1.1", "1..11", "1...1", "1...1"],
}

def canvas(w, h, colour):
    return [[colour] * w for _ in range(h)]

def text(img, s, x, y, scale, colour):
    for ch in s:
        g = GLYPHS[ch]
        for gy, row in enumerate(g):
            for gx, c in enumerate(row):
                if c == '1':
                    for dy in range(scale):
                        for dx in range(scale):
                            if 0 <= y + gy*scale + dy < len(img) and 0 <= x + gx*scale + dx < len(img[0]):
                                img[y + gy*scale + dy][x + gx*scale + dx] = colour
        x += (len(g[0]) + 1) * scale
    return x

def width(s, scale):
    return sum((len(GLYPHS[c][0]) + 1) * scale for c in s) - scale

def bmp_4bit(img):
    h, w = len(img), len(img[0])
    stride = ((w + 7) // 8) * 4
    rows = b''
    for row in reversed(img):
        packed = bytearray()
        for x in range(0, w, 2):
            hi = row[x]; lo = row[x+1] if x + 1 < w else 0
            packed.append((hi << 4) | lo)
        rows += bytes(packed) + b'\0' * (stride - len(packed))
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 4, 0, len(rows), 2835, 2835, 16, 16)
    return info, pal, rows

def logo():
    w, h = 204, 66
    img = canvas(w, h, NAVY)
    for y in range(h):  # a frame with a lighter band across the middle
        for x in range(w):
            if y in (0, h-1) or x in (0, w-1): img[y][x] = SILVER
            elif 40 <= y <= 43: img[y][x] = TEAL
    name, scale = "PICTAVORN", 3
    x0 = (w - width(name, scale)) // 2
    text(img, name, x0 + 2, 11, scale, BLACK)     # shadow
    text(img, name, x0, 9, scale, YELLOW)
    for x in range(12, w - 12):                    # underline in three tones
        img[50][x] = CYAN; img[51][x] = BLUE; img[52][x] = WHITE if x % 6 < 3 else BLUE
    info, pal, rows = bmp_4bit(img)
    data = info + pal + rows
    header = struct.pack('<2sIHHI', b'BM', 14 + len(data), 0, 0, 14 + len(info) + len(pal))
    return header + data

def icon():
    w = h = 32
    img = canvas(w, h, NAVY)
    for y in range(h):
        for x in range(w):
            if x in (0, w-1) or y in (0, h-1): img[y][x] = SILVER
    text(img, "P", 6, 2, 4, YELLOW)
    info, pal, rows = bmp_4bit(img)
    info = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    mask = b'\0' * (4 * h)  # 1-bit AND mask, all opaque
    image = info + pal + rows + mask
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', w, h, 16, 0, 1, 4, len(image), 22)
    return directory + image

here = os.path.dirname(os.path.abspath(__file__))
open(os.path.join(here, 'logo.bmp'), 'wb').write(logo())
open(os.path.join(here, 'setup.ico'), 'wb').write(icon())
