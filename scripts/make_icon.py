#!/usr/bin/env python3
"""Draws the program icon, a small battery, as a 16-colour .ico with a 32x32
and a 16x16 image. Run it after changing the drawing; its output is committed
as src/res/zemlo.ico so that a build needs no Python."""
import struct
import sys

# The standard 16-colour palette (B, G, R, 0), as a 4-bit icon expects it.
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128),
    (128, 0, 0), (128, 0, 128), (128, 128, 0), (192, 192, 192),
    (128, 128, 128), (0, 0, 255), (0, 255, 0), (0, 255, 255),
    (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255),
]
BLACK, DARK_GREEN, GRAY, GREEN, WHITE = 0, 2, 8, 10, 15


def battery(size):
    """Pixel rows (top first) of palette indices; None is transparent."""
    px = [[None] * size for _ in range(size)]
    s = size / 32.0
    left, right = round(2 * s), round(27 * s)       # body, right edge exclusive
    top, bottom = round(8 * s), round(24 * s)
    nub_top, nub_bottom = round(12 * s), round(20 * s)
    nub_right = round(30 * s)
    fill_right = left + 2 + round((right - left - 4) * 0.7)
    for y in range(top, bottom):
        for x in range(left, right):
            edge = y in (top, bottom - 1) or x in (left, right - 1)
            if edge:
                px[y][x] = BLACK
            elif y == top + 1 or y == bottom - 2 or x == left + 1 or x == right - 2:
                px[y][x] = WHITE
            elif x < fill_right:
                px[y][x] = GREEN if y < (top + bottom) // 2 else DARK_GREEN
            else:
                px[y][x] = GRAY
    for y in range(nub_top, nub_bottom):
        for x in range(right, nub_right):
            edge = y in (nub_top, nub_bottom - 1) or x == nub_right - 1
            px[y][x] = BLACK if edge else WHITE
    return px


def image(size):
    px = battery(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor, mask = b'', b''
    for row in reversed(px):  # bottom-up
        nibbles = [0 if p is None else p for p in row]
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor += data.ljust(xor_stride, b'\0')
        bits = 0
        out = bytearray()
        for i, p in enumerate(row):
            bits = (bits << 1) | (1 if p is None else 0)
            if i % 8 == 7:
                out.append(bits)
                bits = 0
        mask += bytes(out).ljust(and_stride, b'\0')
    return header + palette + xor + mask


def main(path):
    images = [(32, image(32)), (16, image(16))]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b''.join(data for _, data in images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'src/res/zemlo.ico')
