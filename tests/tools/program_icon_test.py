#!/usr/bin/env python3
"""tools/gen_program_icon.py: the .ico it writes holds the grids' colours where Windows reads
them, and input it cannot use stops it with a message and status 1."""
import struct
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
TOOL = ROOT / "tools" / "gen_program_icon.py"
COMMITTED = ROOT / "textscreen" / "resources" / "program_icon.txt"

PALETTE = ". transparent\nr FF0000 red\ng 00FF00\nb 0000FF blue\n"


def generate(source, folder):
    """Runs the tool on `source` (a path or the text itself); (process, .ico bytes or None)."""
    if isinstance(source, str):
        (folder / "icon.txt").write_text(source, encoding="utf-8")
        source = folder / "icon.txt"
    output = folder / "icon.ico"
    output.unlink(missing_ok=True)
    run = subprocess.run(
        [sys.executable, str(TOOL), str(source), str(output)], capture_output=True, text=True
    )
    return run, output.read_bytes() if output.exists() else None


def read_ico(data):
    """{size: pixel(x, y) -> ((r, g, b, a), masked)} from an .ico file, checking its frame."""
    reserved, kind, count = struct.unpack_from("<HHH", data)
    assert (reserved, kind) == (0, 1), "not an icon file"
    images = {}
    for i in range(count):
        width, height, colours, _, planes, bits, length, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i
        )
        assert (width, colours, planes, bits) == (height, 0, 1, 32)
        assert offset + length <= len(data)
        header = struct.unpack_from("<IiiHHI", data, offset)
        assert header == (40, width, 2 * width, 1, 32, 0), header
        mask_row_bytes = (width + 31) // 32 * 4
        assert length == 40 + width * width * 4 + width * mask_row_bytes

        def pixel(x, y, size=width, start=offset + 40, row_bytes=mask_row_bytes):
            row = size - 1 - y  # rows are stored bottom up
            b, g, r, a = data[start + (row * size + x) * 4 : start + (row * size + x + 1) * 4]
            mask_byte = data[start + size * size * 4 + row * row_bytes + x // 8]
            return (r, g, b, a), bool(mask_byte & 0x80 >> x % 8)

        images[width] = pixel
    return images


def grid(size, marks, fill):
    rows = [[fill] * size for _ in range(size)]
    for (x, y), ch in marks.items():
        rows[y][x] = ch
    return "image %d\n%s\n" % (size, "\n".join("".join(row) for row in rows))


GOOD = PALETTE + grid(32, {(0, 0): "r", (31, 0): ".", (0, 31): "b", (9, 31): "."}, "g")
GOOD += "# the small one\n\n" + grid(16, {(15, 15): "r"}, ".")

RED, GREEN, BLUE, CLEAR = (255, 0, 0, 255), (0, 255, 0, 255), (0, 0, 255, 255), (0, 0, 0, 0)


class GeneratedIcon(unittest.TestCase):
    def setUp(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.folder = Path(folder.name)

    def test_committed_icon_has_both_sizes_with_a_clear_corner(self):
        run, data = generate(COMMITTED, self.folder)
        self.assertEqual(run.returncode, 0, run.stderr)
        images = read_ico(data)
        self.assertEqual(list(images), [32, 16])
        for size, pixel in images.items():
            self.assertEqual(pixel(0, 0), (CLEAR, True), size)
            colour, masked = pixel(size // 2, size // 3)
            self.assertFalse(masked, size)
            self.assertEqual(colour[3], 255, size)

    def test_pixels_are_the_grid_colours_in_place(self):
        run, data = generate(GOOD, self.folder)
        self.assertEqual(run.returncode, 0, run.stderr)
        big, small = read_ico(data)[32], read_ico(data)[16]
        self.assertEqual(big(0, 0), (RED, False))
        self.assertEqual(big(31, 0), (CLEAR, True))
        self.assertEqual(big(0, 31), (BLUE, False))
        self.assertEqual(big(9, 31), (CLEAR, True))
        self.assertEqual(big(8, 31), (GREEN, False))
        self.assertEqual(big(10, 31), (GREEN, False))
        self.assertEqual(small(15, 15), (RED, False))
        self.assertEqual(small(14, 15), (CLEAR, True))

    def test_unusable_input_stops_with_a_message_and_writes_nothing(self):
        big = grid(32, {}, "g")
        small = grid(16, {}, ".")
        cases = {
            "a short row": (PALETTE + big.replace("g\n", "\n", 1) + small, ":6: a row of 31"),
            "a missing row": (PALETTE + big[: big.rindex("\n", 0, -1) + 1] + small, "31 rows"),
            "an extra row": (PALETTE + big + "g" * 32 + "\n" + small, "already has"),
            "unknown character": (PALETTE + big + small.replace(".", "x", 1), "'x'"),
            "no 16 image": (PALETTE + big, "no image 16"),
            "an odd size": (PALETTE + big + grid(24, {}, "."), "image 24"),
            "a bad colour": (PALETTE + "y FFFF5 yellow\n" + big + small, "'FFFF5'"),
        }
        for name, (text, message) in cases.items():
            with self.subTest(name):
                run, data = generate(text, self.folder)
                self.assertEqual(run.returncode, 1)
                self.assertIn(message, run.stderr)
                self.assertIsNone(data)


if __name__ == "__main__":
    unittest.main()
