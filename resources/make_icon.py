#!/usr/bin/env python3
"""Writes the Windows icon resources/kelvorn.ico from the picture in
resources/kelvorn_icon.xpm: one 32x32 image with 16 colours (4 bits a pixel,
the classic 16-colour palette), fully opaque.

    python3 resources/make_icon.py            # rewrite kelvorn.ico
    python3 resources/make_icon.py --check    # fail if kelvorn.ico is stale
"""
import pathlib
import re
import struct
import sys

HERE = pathlib.Path(__file__).resolve().parent
SIZE = 32

# The 16 colours of the classic Windows palette, as 0xRRGGBB.
PALETTE = [
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
]


def read_xpm(path):
    """The XPM's rows as lists of palette indices."""
    strings = re.findall(r'"([^"]*)"', path.read_text())
    width, height, colours, chars = (int(v) for v in strings[0].split()[:4])
    if (width, height) != (SIZE, SIZE):
        sys.exit(f"{path}: the icon must be {SIZE}x{SIZE}, not {width}x{height}")
    index_of = {}
    for entry in strings[1:1 + colours]:
        key, rest = entry[:chars], entry[chars:].split()
        rgb = int(rest[rest.index("c") + 1].lstrip("#"), 16)
        if rgb not in PALETTE:
            sys.exit(f"{path}: colour #{rgb:06X} is not one of the 16 palette colours")
        index_of[key] = PALETTE.index(rgb)
    rows = strings[1 + colours:1 + colours + height]
    return [[index_of[row[i:i + chars]] for i in range(0, width * chars, chars)] for row in rows]


def icon_bytes(rows):
    colour_rows = b"".join(  # bottom-up, two pixels a byte, high nibble first
        bytes((row[i] << 4) | row[i + 1] for i in range(0, SIZE, 2)) for row in reversed(rows))
    mask_rows = bytes(SIZE * SIZE // 8)  # every pixel opaque
    palette = b"".join(struct.pack("<BBBB", c & 0xFF, (c >> 8) & 0xFF, c >> 16, 0) for c in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0,
                         len(colour_rows) + len(mask_rows), 0, 0, 16, 0)
    image = header + palette + colour_rows + mask_rows
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    data = icon_bytes(read_xpm(HERE / "kelvorn_icon.xpm"))
    target = HERE / "kelvorn.ico"
    if "--check" in sys.argv[1:]:
        if not target.exists() or target.read_bytes() != data:
            sys.exit(f"{target} does not match kelvorn_icon.xpm: run python3 {__file__}")
        return
    target.write_bytes(data)


if __name__ == "__main__":
    main()
