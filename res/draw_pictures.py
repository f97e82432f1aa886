#!/usr/bin/env python3
"""Draws the pictures of res/ with nothing but the standard library.

Run it from anywhere; it rewrites the files beside itself:
  brisq.ico   the program icon, 16 x 16 and 32 x 32, 32 bits with alpha
  tool.bmp    the Settings button's 16 x 16 tool, 1 bit, black on white
  add.bmp, delete.bmp, edit.bmp
              the Settings dialog's 16 x 16 alias buttons, 4 bits with a palette; magenta is cut away
  tool_125.bmp ... edit_200.bmp
              the same four drawn again at 125, 150, 175 and 200 % (20 to 32 pixels), for
              displays of more than 96 DPI: drawn, not stretched, so they stay sharp

The launcher draws its skin at every DPI (controls/skin_drawing.cpp) and the
program icon at other sizes (controls/program_icon.cpp) itself.
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
    and_mask = packed(rows, 1, lambda pixel: 1 if pixel[3] == 0 else 0)
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


KEY = (0xFF, 0x00, 0xFF)
SCALES = (100, 125, 150, 175, 200)


def picture_size(scale):
    return (16 * scale + 50) // 100


def grid(size, x):
    """Pixel x of a picture `size` wide on the 16-pixel design grid: the centre of
    the design pixel it falls in is a whole number there, as at 16 pixels."""
    return (x + 0.5) * 16 / size - 0.5


def tool_pixels(size=16):
    """A wrench from the bottom left to the top right: True is ink."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            cx, cy = grid(size, x) + 0.5, grid(size, y) + 0.5
            # handle: a thick segment from (3, 13) to (9.5, 6.5)
            t = max(0.0, min(1.0, ((cx - 3) * 6.5 + (13 - cy) * 6.5) / (2 * 6.5 ** 2)))
            px, py = 3 + 6.5 * t, 13 - 6.5 * t
            handle = (cx - px) ** 2 + (cy - py) ** 2 <= 1.6 ** 2
            # head: a ring round (11, 5) with its jaw open towards the top right
            hx, hy = cx - 11, cy - 5
            ring = hx * hx + hy * hy <= 4.2 ** 2
            jaw = hx - hy > 0 and abs(hx + hy) <= 1.9 or hx * hx + hy * hy <= 1.5 ** 2
            row.append(handle or (ring and not jaw))
        rows.append(row)
    return rows


GREEN = (0x2E, 0x9E, 0x3C)
GREEN_DARK = (0x1B, 0x6B, 0x26)
RED = (0xD9, 0x36, 0x2B)
RED_DARK = (0x96, 0x1F, 0x18)
PENCIL_BODY = (0xF2, 0xB1, 0x2C)
PENCIL_EDGE = (0x8A, 0x5A, 0x10)
PENCIL_WOOD = (0xF0, 0xD6, 0xA8)
PENCIL_LEAD = (0x40, 0x40, 0x40)
ERASER = (0xE8, 0x8C, 0x9A)


def outlined(ink, fill, edge, size):
    """Pixels of a shape given by ink(u, v) on the design grid: its inside in fill,
    a rim around it in edge, one design pixel wide (at least one pixel)."""
    rim = max(1, (size + 8) // 16)
    inside = [[ink(grid(size, x), grid(size, y)) for x in range(size)] for y in range(size)]

    def at(x, y):
        return 0 <= x < size and 0 <= y < size and inside[y][x]

    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            if inside[y][x]:
                row.append(fill)
            elif any(at(x + dx, y + dy) for dx in range(-rim, rim + 1) for dy in range(-rim, rim + 1)):
                row.append(edge)
            else:
                row.append(KEY)
        rows.append(row)
    return rows


def within(low, value, high):
    """low <= value <= high for whole design pixels, as continuous spans at any size."""
    return low - 0.5 <= value < high + 0.5


def add_pixels(size=16):
    """A green plus sign."""
    def ink(x, y):
        return (within(6, x, 9) and within(2, y, 13)) or (within(2, x, 13) and within(6, y, 9))
    return outlined(ink, GREEN, GREEN_DARK, size)


def delete_pixels(size=16):
    """A red diagonal cross."""
    def ink(x, y):
        if not (within(3, x, 12) and within(3, y, 12)):
            return False
        return abs(x - y) < 1.5 or abs(x + y - 15) < 1.5
    return outlined(ink, RED, RED_DARK, size)


def edit_pixels(size=16):
    """A pencil from the bottom left to the top right: lead, bare wood, yellow body, eraser."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            x, y = grid(size, px), grid(size, py)
            u = (x + y - 15) / 2.0     # across the pencil
            v = (x - y + 15) / 2.0     # along it, 0 at the bottom left
            colour = KEY
            if abs(u) <= 2.6 and 1 <= v <= 14:
                width = 2.6 if v >= 5 else 2.6 * (v - 1) / 4
                if abs(u) <= width:
                    if v < 2.5:
                        colour = PENCIL_LEAD
                    elif v < 5:
                        colour = PENCIL_WOOD
                    elif v < 12:
                        colour = PENCIL_BODY if abs(u) < 1.9 else PENCIL_EDGE
                    else:
                        colour = ERASER if abs(u) < 1.9 else PENCIL_EDGE
                elif abs(u) <= width + 0.8:
                    colour = PENCIL_EDGE
            row.append(colour)
        rows.append(row)
    return rows



def packed(rows, bits, index_of):
    """Rows of pixels as |bits|-per-pixel indices, bottom row first, each row padded to 4 bytes."""
    stride = (len(rows[0]) * bits + 31) // 32 * 4
    per_byte = 8 // bits
    data = b''
    for row in reversed(rows):
        line = bytearray(stride)
        for x, pixel in enumerate(row):
            line[x // per_byte] |= index_of(pixel) << (8 - bits * (x % per_byte + 1))
        data += bytes(line)
    return data


def write_palette_bmp(path, rows, bits):
    palette = sorted({c for row in rows for c in row})
    assert len(palette) <= 1 << bits, path
    index = {c: i for i, c in enumerate(palette)}
    write_bmp(path, len(rows[0]), len(rows), bits, palette, packed(rows, bits, index.__getitem__))


def write_bmp1(path, rows):
    # Ink is index 0 (black), the rest index 1 (white).
    data = packed(rows, 1, lambda ink: 0 if ink else 1)
    write_bmp(path, len(rows[0]), len(rows), 1, [(0, 0, 0), WHITE], data)


def write_bmp(path, width, height, bits, palette, pixels):
    colours = b''.join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    offset = 14 + 40 + len(colours)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bits, 0, len(pixels), 2835, 2835, len(palette), 0)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    with open(path, 'wb') as f:
        f.write(header + info + colours + pixels)


if __name__ == '__main__':
    write_ico(os.path.join(HERE, 'brisq.ico'), [16, 32])
    for scale in SCALES:
        size = picture_size(scale)
        suffix = '' if scale == 100 else '_%d' % scale
        write_bmp1(os.path.join(HERE, 'tool%s.bmp' % suffix), tool_pixels(size))
        write_palette_bmp(os.path.join(HERE, 'add%s.bmp' % suffix), add_pixels(size), 4)
        write_palette_bmp(os.path.join(HERE, 'delete%s.bmp' % suffix), delete_pixels(size), 4)
        write_palette_bmp(os.path.join(HERE, 'edit%s.bmp' % suffix), edit_pixels(size), 4)
