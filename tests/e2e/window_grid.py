#!/usr/bin/env python3
"""Reads a graphics window the way a user does: a 640x480 capture of a mode-12 screen back
into its 80x30 text cells (character, foreground, background), by exact match against the
8x16 glyphs and the sixteen colours the library draws with. Also sends the window the close
a window manager sends for its close box, and asks the window manager to maximise a window.

  window_grid.py rows CAPTURE [SCALE,LEFT,TOP]  "ROW:TEXT" for each row that holds text
  window_grid.py colours CAPTURE TEXT          the FG/BG colour numbers TEXT is drawn in
  window_grid.py close WINDOW_ID               WM_DELETE_WINDOW to the window (X11)
  window_grid.py maximise WINDOW_ID            asks the window manager to maximise the window

SCALE,LEFT,TOP reads a capture of a whole screen that shows the frame scaled by a whole
factor with its top left corner at LEFT,TOP: each frame pixel must be a uniform
SCALE x SCALE block, and everything around the frame black.
"""
import ctypes
import struct
import subprocess
import sys
from pathlib import Path

FONTS = Path(__file__).resolve().parents[2] / "textscreen" / "graphics" / "fonts"
COLUMNS, ROWS, CELL_WIDTH, CELL_HEIGHT = 80, 30, 8, 16
WIDTH, HEIGHT = COLUMNS * CELL_WIDTH, ROWS * CELL_HEIGHT


def sixteen_colours():
    six_bit = (FONTS / "vga256.pal").read_bytes()[: 16 * 3]
    scaled = [v * 255 // 63 for v in six_bit]
    return {tuple(scaled[i : i + 3]): i // 3 for i in range(0, len(scaled), 3)}


def glyphs():
    """Bitmap (16 row bytes, bit 7 leftmost) -> code; printable ASCII wins a tie."""
    font = (FONTS / "vga8x16.bin").read_bytes()
    table = {}
    for code in list(range(32, 127)) + list(range(0, 32)) + list(range(127, 256)):
        table.setdefault(font[code * CELL_HEIGHT : (code + 1) * CELL_HEIGHT], code)
    return table


def read_capture(path, placement=None):
    ppm = subprocess.run(["convert", str(path), "ppm:-"], check=True, capture_output=True).stdout
    # Binary PPM: "P6", width, height and the largest value, each followed by one blank.
    fields = ppm.split(maxsplit=4)
    width, height, rgb = int(fields[1]), int(fields[2]), fields[4]
    if placement is not None:
        return unscaled(rgb, width, height, *placement, path)
    if (width, height) != (WIDTH, HEIGHT):
        sys.exit(f"{path}: {width}x{height}, not a {WIDTH}x{HEIGHT} capture")
    return rgb


def unscaled(rgb, width, height, scale, left, top, path):
    """The frame's own pixels out of a screen that shows it scaled by `scale` at left, top."""
    if left + WIDTH * scale > width or top + HEIGHT * scale > height:
        sys.exit(f"{path}: a {WIDTH}x{HEIGHT} frame x{scale} at {left},{top} is off the screen")
    stride, step, frame, screen = width * 3, scale * 3, [], [bytes(width * 3)] * top
    for y in range(HEIGHT):
        start = (top + y * scale) * stride + left * 3
        line = rgb[start : start + WIDTH * step]
        own = bytes(v for pixel in zip(line[::step], line[1::step], line[2::step]) for v in pixel)
        scaled = b"".join(own[i : i + 3] * scale for i in range(0, len(own), 3))
        screen += [bytes(left * 3) + scaled + bytes(stride - left * 3 - len(scaled))] * scale
        frame.append(own)
    # Each frame pixel a uniform block, and black all around the frame.
    screen += [bytes(width * 3)] * (height - top - HEIGHT * scale)
    if b"".join(screen) != rgb:
        sys.exit(f"{path}: the screen is not the frame x{scale} at {left},{top} on black")
    return b"".join(frame)


def cell_pixels(rgb, column, row):
    pixels = []
    for y in range(CELL_HEIGHT):
        start = ((row * CELL_HEIGHT + y) * WIDTH + column * CELL_WIDTH) * 3
        line = rgb[start : start + CELL_WIDTH * 3]
        pixels.append([tuple(line[x * 3 : x * 3 + 3]) for x in range(CELL_WIDTH)])
    return pixels


def bitmap(pixels, foreground):
    return bytes(
        sum(0x80 >> x for x, colour in enumerate(line) if colour == foreground) for line in pixels
    )


def decode_cell(pixels, colours, font):
    """(character, fg, bg); fg None for a blank, '?' where nothing matches."""
    seen = sorted({c for line in pixels for c in line})
    if len(seen) == 1 and seen[0] in colours:
        return " ", None, colours[seen[0]]
    two = len(seen) == 2 and all(c in colours for c in seen)
    found = [
        (font[bitmap(pixels, fg)], colours[fg], colours[bg])
        for fg, bg in ((seen, seen[::-1]) if two else ())
        if bitmap(pixels, fg) in font
    ]
    if not found:
        return "?", None, None
    code, fg, bg = min(found, key=lambda f: (not 32 <= f[0] < 127, f[0]))
    return bytes([code]).decode("cp437"), fg, bg


def grid(path, placement=None):
    rgb, colours, font = read_capture(path, placement), sixteen_colours(), glyphs()
    return [
        [decode_cell(cell_pixels(rgb, c, r), colours, font) for c in range(COLUMNS)]
        for r in range(ROWS)
    ]


def row_text(cells):
    return "".join(cell[0] for cell in cells).rstrip()


def print_rows(path, placement=None):
    for number, cells in enumerate(grid(path, placement), start=1):
        if row_text(cells):
            print(f"{number}:{row_text(cells)}")


def print_colours(path, text):
    for cells in reversed(grid(path)):
        at = row_text(cells).find(text)
        if at < 0:
            continue
        # The text's blanks show no foreground: only its other cells count.
        pairs = [f"{fg}/{bg}" for _, fg, bg in cells[at : at + len(text)] if fg is not None]
        print(",".join(dict.fromkeys(pairs)))
        return


def send_client_message(window, message_type, data, to_root=False):
    """A ClientMessage (type 33) of format 32 in an XEvent's 192 bytes: to the window, or about
    it to the root window, where the window manager listens."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = x11.XInternAtom.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    display = ctypes.c_void_p(x11.XOpenDisplay(None))
    if not display.value:
        sys.exit("no X display")
    values = [x11.XInternAtom(display, v, 0) if isinstance(v, bytes) else v for v in data]
    values += [0] * (5 - len(values))
    message = x11.XInternAtom(display, message_type, 0)
    event = struct.pack("iLiPLLi5l", 33, 0, 0, 0, window, message, 32, *values)
    target = x11.XDefaultRootWindow(display) if to_root else window
    # The root's listeners: substructure redirect and notify.
    mask = 0x180000 if to_root else 0
    x11.XSendEvent(display, ctypes.c_ulong(target), 0, ctypes.c_long(mask), event.ljust(192, b"\0"))
    x11.XCloseDisplay(display)  # sends what is queued


def send_close(window):
    # Its time is CurrentTime (0).
    send_client_message(window, b"WM_PROTOCOLS", [b"WM_DELETE_WINDOW", 0])


def send_maximise(window):
    # Add (1) both maximised states, asked for by an application (source 1).
    send_client_message(window, b"_NET_WM_STATE",
                        [1, b"_NET_WM_STATE_MAXIMIZED_VERT", b"_NET_WM_STATE_MAXIMIZED_HORZ", 1],
                        to_root=True)


if __name__ == "__main__":
    command = sys.argv[1] if len(sys.argv) > 1 else ""
    if command == "rows" and len(sys.argv) in (3, 4):
        placement = tuple(int(v) for v in sys.argv[3].split(",")) if len(sys.argv) == 4 else None
        print_rows(sys.argv[2], placement)
    elif command == "colours" and len(sys.argv) == 4:
        print_colours(sys.argv[2], sys.argv[3])
    elif command == "close" and len(sys.argv) == 3:
        send_close(int(sys.argv[2], 0))
    elif command == "maximise" and len(sys.argv) == 3:
        send_maximise(int(sys.argv[2], 0))
    else:
        sys.exit(__doc__)
