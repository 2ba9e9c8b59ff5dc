#!/usr/bin/env python3
"""Writes textscreen/platform/code_pages_generated.h: for code pages 437 and 852, the code point
of the glyph each byte shows, and a sorted (code point, byte) table that turns typed
characters into bytes of the page.

    python3 tools/gen_code_pages.py /work/shared/data textscreen/platform/code_pages_generated.h

The data folder holds cp437.txt and cp852.txt, one line per byte: '0xHH U+XXXX glyph'.

The reverse table holds, per page:
  - every byte 0x80-0xFF under the code point it shows (the lowest byte when two show the
    same one). Bytes below 0x80 are left out: ASCII stands for itself, and a typed
    character must never become one of the control bytes 0x01-0x1F, whatever glyph they
    show.
  - for the Latin letters the page lacks (Latin-1 Supplement, Latin Extended-A and -B,
    Latin Extended Additional), the nearest letter it has: first the letter with fewer of
    its canonical diacritics (ǘ -> ü -> u), then the base letter of letters that Unicode
    does not decompose, taken from the name ("LATIN SMALL LETTER L WITH STROKE" -> l), then
    the few hand-mapped letters in HAND_MAPPED. Letters with nothing near stay out and
    become '?'.
Greek and Cyrillic letters appear only where the page has them exactly.

Those blocks are fully assigned and Unicode never changes a character's name or canonical
decomposition, so the output does not depend on the Python version.
"""
import re
import sys
import unicodedata
from pathlib import Path

PAGES = (437, 852)

# The blocks whose letters get a fallback when the page lacks them.
LATIN_BLOCKS = (
    (0x00A0, 0x00FF),  # Latin-1 Supplement
    (0x0100, 0x017F),  # Latin Extended-A
    (0x0180, 0x024F),  # Latin Extended-B
    (0x1E00, 0x1EFF),  # Latin Extended Additional
)

# Letters without a canonical decomposition whose name does not give the base letter
# either; each with the letters to try, nearest first.
HAND_MAPPED = {
    0x00D0: "\u0110D",  # Ð eth: the capital looks exactly like Đ
    0x00F0: "d",  # ð eth
    0x0131: "i",  # ı dotless i
    0x017F: "s",  # ſ long s
    0x0189: "\u0110D",  # Ɖ African D: drawn like Đ
    0x0237: "j",  # ȷ dotless j
    0x024A: "Q",  # Ɋ named "capital letter small q with hook tail"
    0x1E9E: "\u00df",  # ẞ capital sharp s: the page's ß
}

# "LATIN CAPITAL LETTER O WITH STROKE", "LATIN SMALL LETTER U BAR": a plain letter with a
# mark Unicode does not split off.
NAMED_BASE = re.compile(r"LATIN (CAPITAL|SMALL) LETTER ([A-Z]) (WITH .+|BAR)$")

# Entries per line in the generated file; clang-format leaves these lines as they are.
GLYPHS_PER_LINE = 8
PAIRS_PER_LINE = 6


def read_page(folder, page):
    path = Path(folder) / ("cp%d.txt" % page)
    points = {}
    with open(path, encoding="utf-8") as table:
        for number, line in enumerate(table, 1):
            if not line.startswith("0x"):
                continue
            fields = line.split()
            if len(fields) < 2 or not fields[1].startswith("U+"):
                sys.exit("%s:%d: expected '0xHH U+XXXX glyph'" % (path, number))
            byte, point = int(fields[0], 16), int(fields[1][2:], 16)
            if byte in points:
                sys.exit("%s:%d: byte 0x%02X given twice" % (path, number, byte))
            points[byte] = point
    if sorted(points) != list(range(256)):
        sys.exit("%s: the table must give all 256 bytes" % path)
    return [points[b] for b in range(256)]


def base_letter_by_name(ch):
    match = NAMED_BASE.match(unicodedata.name(ch, ""))
    if not match:
        return ""
    letter = match.group(2)
    return letter if match.group(1) == "CAPITAL" else letter.lower()


def nearer_letters(ch):
    """The letters to try for `ch`, nearest first, `ch` itself not included."""
    letters = []
    marks = unicodedata.normalize("NFD", ch)
    for end in range(len(marks) - 1, 0, -1):
        fewer = unicodedata.normalize("NFC", marks[:end])
        if len(fewer) == 1:
            letters.append(fewer)
    base = marks[0]
    if base != ch:
        letters.append(base)
    letters += HAND_MAPPED.get(ord(base), "")
    letters += base_letter_by_name(base)
    return letters


def reverse_table(glyphs):
    byte_of = {}
    for byte in range(0x80, 0x100):
        byte_of.setdefault(glyphs[byte], byte)
    table = dict(byte_of)
    for first, last in LATIN_BLOCKS:
        for point in range(first, last + 1):
            ch = chr(point)
            if point in table or not unicodedata.category(ch).startswith("L"):
                continue
            for letter in nearer_letters(ch):
                code = ord(letter)
                if 0x20 <= code <= 0x7E:
                    table[point] = code
                    break
                if code in byte_of:
                    table[point] = byte_of[code]
                    break
    return sorted(table.items())


def byte_literal(byte):
    # The fallbacks to plain letters read better as characters.
    return "'%c'" % byte if chr(byte).isalpha() and byte < 0x80 else "0x%02X" % byte


def render(folder):
    out = [
        "// Generated by tools/gen_code_pages.py from cp437.txt and cp852.txt; do not edit.",
        "// Code pages 437 and 852: the code point each byte shows, and the byte each typed",
        "// character becomes, sorted by code point (see tools/gen_code_pages.py for the rules).",
        "#pragma once",
        "",
        "#include <array>",
        "#include <cstdint>",
        "",
        "namespace textscreen::platform::code_page_tables {",
        "",
        "struct CodePointByte {",
        "  char32_t code_point;",
        "  uint8_t byte;",
        "};",
    ]
    for page in PAGES:
        glyphs = read_page(folder, page)
        pairs = reverse_table(glyphs)
        out += ["", "inline constexpr std::array<char32_t, 256> CP%d_GLYPHS{{" % page]
        for first in range(0, 256, GLYPHS_PER_LINE):
            line = " ".join("0x%04X," % g for g in glyphs[first : first + GLYPHS_PER_LINE])
            out.append("    %s  // 0x%02X" % (line, first))
        out += ["}};", ""]
        out.append("inline constexpr std::array<CodePointByte, %d> CP%d_BYTES{{" % (len(pairs), page))
        items = ["{0x%04X, %s}," % (point, byte_literal(byte)) for point, byte in pairs]
        for first in range(0, len(items), PAIRS_PER_LINE):
            line = " ".join(item.ljust(15) for item in items[first : first + PAIRS_PER_LINE])
            out.append("    " + line.rstrip())
        out.append("}};")
    out += ["", "}  // namespace textscreen::platform::code_page_tables", ""]
    return "\n".join(out)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: gen_code_pages.py DATA_FOLDER OUTPUT_HEADER")
    text = render(sys.argv[1])
    with open(sys.argv[2], "w", encoding="utf-8", newline="\n") as header:
        header.write(text)


if __name__ == "__main__":
    main()
