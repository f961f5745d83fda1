#!/usr/bin/env python3
"""Writes resources/pikon.ico: one 32 x 32 image with 256 colours (8 bits per pixel).

The picture is a small strip chart: a black plot area in a grey frame with three traces in
the colours of channels 1, 2 and 3. Run it again only to change the picture.
"""
import math
import struct
import sys

W = H = 32
palette = [(0, 0, 0)] * 256
palette[0] = (0, 0, 0)          # plot area
palette[1] = (192, 192, 192)    # frame
palette[2] = (255, 0, 0)        # channel 1
palette[3] = (0, 255, 0)        # channel 2
palette[4] = (100, 100, 255)    # channel 3
palette[5] = (255, 255, 255)    # ticks
palette[6] = (128, 128, 128)    # frame shadow

pixels = [[1] * W for _ in range(H)]  # rows top to bottom
for y in range(3, 29):
    for x in range(3, 29):
        pixels[y][x] = 0
for y in range(3, 29):
    pixels[y][29] = 6
for x in range(3, 30):
    pixels[29][x] = 6
for i in range(4, 29, 4):
    pixels[28][i] = 5
for x in range(4, 28):
    t = (x - 4) / 23.0
    pixels[int(16 - 9 * math.sin(t * 2 * math.pi))][x] = 2
    pixels[int(24 - 18 * t)][x] = 3
    pixels[8 if (x // 6) % 2 == 0 else 20][x] = 4

header = struct.pack('<IiiHHIIiiII', 40, W, H * 2, 1, 8, 0, W * H + W * H // 8, 0, 0, 256, 0)
pal = b''.join(struct.pack('BBBB', b, g, r, 0) for (r, g, b) in palette)
xor = b''.join(bytes(pixels[y]) for y in reversed(range(H)))  # bottom-up rows
mask = bytes(W * H // 8)  # every pixel opaque
image = header + pal + xor + mask
icondir = struct.pack('<HHH', 0, 1, 1)
entry = struct.pack('<BBBBHHII', W, H, 0, 0, 1, 8, len(image), 6 + 16)
with open(sys.argv[1] if len(sys.argv) > 1 else 'resources/pikon.ico', 'wb') as f:
    f.write(icondir + entry + image)
