#!/usr/bin/env python3
"""Writes the programs' icon as a Windows .ico file from its text form.

    python3 tools/gen_program_icon.py textscreen/resources/program_icon.txt program_icon.ico

The text file gives first the palette, one colour a line: a character, then the colour as
RRGGBB in hex or the word "transparent", then anything (a name). Then the images: an
"image N" line followed by N rows of N palette characters. Exactly one 32 and one 16 image,
in either order. Lines starting with '#' and blank lines are skipped; trailing blanks are
ignored.

The .ico holds the images largest first, each a 32-bit BGRA bitmap (rows bottom up) with its
1-bit AND mask, where a transparent pixel is 0,0,0,0 in the colours and set in the mask.
A row of the wrong length, a missing or extra row, an unknown character or a missing image is
reported with its line and the status is 1; nothing is written then.
"""
import re
import struct
import sys

SIZES = (32, 16)
TRANSPARENT = "transparent"

IMAGE_HEADER = re.compile(r"image\s+(\d+)$")
HEX_COLOUR = re.compile(r"[0-9A-Fa-f]{6}$")


class IconError(Exception):
    pass


def read_icon_text(path):
    """The palette (character -> (r, g, b) or None for transparent) and {size: rows}."""
    try:
        with open(path, encoding="utf-8") as source:
            lines = source.read().splitlines()
    except (OSError, UnicodeDecodeError) as error:
        raise IconError("%s: cannot read: %s" % (path, error))

    palette = {}
    images = {}
    current = None  # (size, rows, line number of its header)

    def close_image():
        if current is not None:
            size, rows, header_line = current
            if len(rows) != size:
                raise IconError(
                    "%s:%d: image %d has %d rows, expected %d"
                    % (path, header_line, size, len(rows), size)
                )

    for number, line in enumerate(lines, 1):
        line = line.rstrip()
        where = "%s:%d" % (path, number)
        if not line or line.startswith("#"):
            continue
        header = IMAGE_HEADER.match(line)
        if header:
            close_image()
            size = int(header.group(1))
            if size not in SIZES:
                expected = " and ".join(map(str, SIZES))
                raise IconError("%s: image %d: the sizes are %s" % (where, size, expected))
            if size in images:
                raise IconError("%s: image %d given twice" % (where, size))
            if not palette:
                raise IconError("%s: an image before any palette colour" % where)
            images[size] = []
            current = (size, images[size], number)
        elif current is not None:
            size, rows, _ = current
            if len(rows) == size:
                raise IconError("%s: image %d already has its %d rows" % (where, size, size))
            if len(line) != size:
                raise IconError(
                    "%s: a row of %d characters, expected %d" % (where, len(line), size)
                )
            for column, ch in enumerate(line, 1):
                if ch not in palette:
                    raise IconError("%s: unknown character %r in column %d" % (where, ch, column))
            rows.append(line)
        else:
            fields = line.split()
            if len(fields[0]) != 1 or len(fields) < 2:
                raise IconError("%s: expected a character and RRGGBB or %r" % (where, TRANSPARENT))
            ch, colour = fields[0], fields[1]
            if ch in palette:
                raise IconError("%s: %r given twice" % (where, ch))
            if colour == TRANSPARENT:
                palette[ch] = None
            elif HEX_COLOUR.match(colour):
                palette[ch] = tuple(bytes.fromhex(colour))
            else:
                raise IconError("%s: %r is neither RRGGBB nor %r" % (where, colour, TRANSPARENT))
    close_image()
    for size in SIZES:
        if size not in images:
            raise IconError("%s: no image %d" % (path, size))
    return palette, images


def bitmap(rows, palette):
    """One icon image: BITMAPINFOHEADER (height doubled for the mask), colours, AND mask."""
    size = len(rows)
    colours = bytearray()
    mask = bytearray()
    mask_row_bytes = (size + 31) // 32 * 4
    for row in reversed(rows):
        mask_row = bytearray(mask_row_bytes)
        for x, ch in enumerate(row):
            rgb = palette[ch]
            if rgb is None:
                colours += bytes(4)
                mask_row[x // 8] |= 0x80 >> x % 8
            else:
                colours += bytes((rgb[2], rgb[1], rgb[0], 255))
        mask += mask_row
    header = struct.pack(
        "<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(colours) + len(mask), 0, 0, 0, 0
    )
    return header + colours + mask


def icon_file(palette, images):
    sizes = sorted(images, reverse=True)
    bitmaps = [bitmap(images[size], palette) for size in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(sizes)))
    offset = len(out) + 16 * len(sizes)
    for size, data in zip(sizes, bitmaps):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in bitmaps:
        out += data
    return bytes(out)


def main():
    if len(sys.argv) == 2 and sys.argv[1] in ("-h", "--help"):
        print(__doc__.strip())
        return
    if len(sys.argv) != 3:
        sys.exit("usage: gen_program_icon.py ICON_TEXT OUTPUT_ICO (--help says more)")
    try:
        palette, images = read_icon_text(sys.argv[1])
    except IconError as error:
        sys.exit(str(error))
    with open(sys.argv[2], "wb") as output:
        output.write(icon_file(palette, images))


if __name__ == "__main__":
    main()
