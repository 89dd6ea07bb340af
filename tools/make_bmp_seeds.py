#!/usr/bin/env python3
"""Writes a tiny sound BMP file of every kind the game reads into tests/fuzz/seeds/: every header, depth and
compression, RLE streams using every code, top-down rows and palettes that need cutting. The fuzzer starts from them;
the unit tests load each. Run from the repository root: tools/make_bmp_seeds.py"""

import struct
from pathlib import Path

RGB, RLE8, RLE4, BITFIELDS = 0, 1, 2, 3


def bmp(bits, width, height, pixels, compression=RGB, os2=False, colours=None, masks=(), header_size=40, gap=b""):
    """A file of that header size: the later Windows headers carry the masks inside (alpha's too), then colour-space
    fields; the gap goes between the palette and the pixels, where a colour profile may sit."""
    entry = 3 if os2 else 4
    # Short palettes keep the pixels, where the loader's branches are, most of each file.
    colours = (min(1 << bits, 4) if bits <= 8 else 0) if colours is None else colours
    palette = bytes((i * 37 + k * 91) % 256 for i in range(colours) for k in range(entry))
    masks = b"".join(struct.pack("<I", mask) for mask in masks)
    if os2:
        header = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        header = struct.pack("<IiiHHIIiiII", header_size, width, height, 1, bits, compression, len(pixels), 2835,
                             2835, colours, 0)
    if header_size > 40:
        inside = (masks + bytes(16))[:16] + b"BGRs" + bytes(48)  # masks, alpha's, colour space, end points, gamma
        header, masks = header + inside[:header_size - 40], b""
        header += bytes(header_size - len(header))  # V5's rendering intent and profile: none
    extra = masks + palette + gap
    offset = 14 + len(header) + len(extra)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + header + extra + pixels


def rows(bits, width, height):
    """Patterned pixels in rows padded to whole 32-bit words."""
    return bytes((i * 29 + 7) % 256 for i in range((width * bits + 31) // 32 * 4 * height))


# Codes: (n, value) a run of n pixels; (0, 0) end of line; (0, 1) end of picture; (0, 2, dx, dy) a move;
# (0, n, ...) a literal of n pixels padded to a whole word.
RLE8_STREAM = bytes([3, 5, 0, 3, 1, 2, 3, 0, 2, 9, 0, 0,   # run, odd literal and its padding, run to the row's end
                     0, 2, 2, 1, 4, 6, 0, 0,                # a move right and up, a run
                     0, 4, 9, 8, 7, 6, 0, 1])               # an even literal, then the picture ends early
RLE8_TO_THE_BOTTOM = bytes([3, 1, 0, 2, 2, 0, 0, 0,  # a run, a move right, the end of the line
                            0, 2, 4, 1, 4, 2,        # a move onto the last row, a run to its end
                            0, 0])                   # whose end of line ends the picture
RLE4_STREAM = bytes([3, 0x12, 0, 3, 0x34, 0x50, 0, 2, 1, 0, 0, 0,  # run, odd literal in a whole word, move, line end
                     0, 2, 1, 1, 7, 0x34, 0, 0,                      # a move right and up, a run of alternating pixels
                     0, 2, 0xAB, 0, 6, 0xCD, 0, 0])                  # a literal of one byte, a run; the rows end it

SEEDS = {
    "windows-1-bit": bmp(1, 13, 5, rows(1, 13, 5)),
    "windows-4-bit": bmp(4, 7, 3, rows(4, 7, 3)),
    "windows-8-bit": bmp(8, 9, 4, rows(8, 9, 4)),
    "windows-8-bit-full-palette": bmp(8, 2, 2, rows(8, 2, 2), colours=256),
    "windows-16-bit": bmp(16, 5, 3, rows(16, 5, 3)),
    "windows-24-bit": bmp(24, 6, 2, rows(24, 6, 2)),
    "windows-32-bit": bmp(32, 3, 3, rows(32, 3, 3)),
    "windows-8-bit-one-pixel": bmp(8, 1, 1, rows(8, 1, 1)),
    "os2-1-bit": bmp(1, 9, 2, rows(1, 9, 2), os2=True),
    "os2-4-bit": bmp(4, 3, 3, rows(4, 3, 3), os2=True),
    "os2-8-bit": bmp(8, 5, 2, rows(8, 5, 2), os2=True),
    "os2-24-bit": bmp(24, 4, 4, rows(24, 4, 4), os2=True),
    "rle8": bmp(8, 8, 4, RLE8_STREAM, RLE8),
    "rle8-to-the-bottom": bmp(8, 8, 3, RLE8_TO_THE_BOTTOM, RLE8),
    "rle4": bmp(4, 8, 3, RLE4_STREAM, RLE4),
    "bit-fields-565": bmp(16, 3, 2, rows(16, 3, 2), BITFIELDS, masks=(0xF800, 0x07E0, 0x001F)),
    "bit-fields-555": bmp(16, 3, 2, rows(16, 3, 2), BITFIELDS, masks=(0x7C00, 0x03E0, 0x001F)),
    "bit-fields-888": bmp(32, 3, 2, rows(32, 3, 2), BITFIELDS, masks=(0xFF0000, 0x00FF00, 0x0000FF)),
    "v2-bit-fields-565": bmp(16, 3, 2, rows(16, 3, 2), BITFIELDS, masks=(0xF800, 0x07E0, 0x001F), header_size=52),
    "v3-bit-fields-8888": bmp(32, 2, 2, rows(32, 2, 2), BITFIELDS, masks=(0xFF0000, 0xFF00, 0xFF, 0xFF000000),
                              header_size=56),
    "v4-24-bit": bmp(24, 3, 2, rows(24, 3, 2), header_size=108),
    "v5-8-bit-bytes-before-the-pixels": bmp(8, 5, 2, rows(8, 5, 2), header_size=124, gap=bytes(range(24))),
    "v5-rle8": bmp(8, 8, 4, RLE8_STREAM, RLE8, header_size=124),
    "v5-bit-fields-555-top-down": bmp(16, 3, -2, rows(16, 3, 2), BITFIELDS, masks=(0x7C00, 0x03E0, 0x001F),
                                      header_size=124),
    "top-down-24-bit": bmp(24, 5, -3, rows(24, 5, 3)),
    "top-down-4-bit": bmp(4, 9, -2, rows(4, 9, 2)),
    "palette-of-300-colours": bmp(8, 3, 2, rows(8, 3, 2), colours=300),
}

if __name__ == "__main__":
    folder = Path("tests/fuzz/seeds")
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in SEEDS.items():
        (folder / (name + ".bmp")).write_bytes(data)
        print("wrote %s (%d bytes)" % (folder / (name + ".bmp"), len(data)))
