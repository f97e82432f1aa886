#!/usr/bin/env python3
"""Draws the pictures of res/ with nothing but the standard library.

Run it from anywhere; it rewrites the files beside itself:
  brisq.ico   the program icon, 16 x 16 and 32 x 32, 32 bits with alpha
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

BLUE = (0x1E, 0x6F, 0xD9)
DEEP = (0x12, 0x45, 0x94)
WHITE = (0xFF, 0xFF, 0xFF)


def icon_pixels(size):
    """A rounded blue tile with a white prompt chevron: rows of (r, g, b, a), top first."""
    s = size / 32.0
    radius = 6 * s
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            cx, cy = x + 0.5, y + 0.5
            # rounded square, one pixel inset
            dx = max(radius + s - cx, 0, cx - (size - s - radius))
            dy = max(radius + s - cy, 0, cy - (size - s - radius))
            inside = dx * dx + dy * dy <= radius * radius
            if not inside:
                row.append((0, 0, 0, 0))
                continue
            t = cy / size
            colour = tuple(int(BLUE[i] * (1 - t) + DEEP[i] * t) for i in range(3))
            # chevron ">" from (9,9) to (17,16) to (9,23), stroke 3.2 units; underscore 18..24 at y 22..24
            u, v = cx / s, cy / s
            d1 = abs((v - 9) - (u - 9) * 7 / 8) / (1 + (7 / 8) ** 2) ** 0.5 if 9 <= u <= 17.5 and v <= 16.5 else 99
            d2 = abs((v - 23) + (u - 9) * 7 / 8) / (1 + (7 / 8) ** 2) ** 0.5 if 9 <= u <= 17.5 and v >= 15.5 else 99
            bar = 18.5 <= u <= 24.5 and 20.5 <= v <= 23.5
            if min(d1, d2) <= 1.7 or bar:
                colour = WHITE
            row.append(colour + (255,))
        rows.append(row)
    return rows


def ico_entry(size):
    rows = icon_pixels(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    and_mask = b''
    for row in reversed(rows):
        bits = 0
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        and_mask += bytes(line)
    return header + xor + and_mask


def write_ico(path, sizes):
    images = [ico_entry(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    write_ico(os.path.join(HERE, 'brisq.ico'), [16, 32])
