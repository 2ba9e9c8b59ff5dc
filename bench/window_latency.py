#!/usr/bin/env python3
"""Key-to-echo latency of a graphics window, sampled straight from the X server.

  window_latency.py keys WINDOW_ID COLUMN ROW COUNT
  window_latency.py open TITLE COLUMN ROW    (prints the clock when the cell first lights)

Gives the window the focus and presses a digit at a random moment, 0-50 ms after the last
echo was cleared (through the XTest extension, as a keyboard would; no process is started
per key), then reads the 8x16 text cell at COLUMN, ROW (0-based) with XGetImage in a
tight loop until it is no longer blank; BackSpace then clears it again. Prints one latency in
milliseconds a line. A sample costs about a tenth of a millisecond, so the figures are the
window's own: its event poll, its frame and its present.
"""
import ctypes
import subprocess
import sys
import random
import time

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XGetImage.restype = ctypes.c_void_p
x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 + \
    [ctypes.c_uint] * 2 + [ctypes.c_ulong, ctypes.c_int]
x11.XGetPixel.restype = ctypes.c_ulong
x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
x11.XKeysymToKeycode.restype = ctypes.c_ubyte
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XStringToKeysym.restype = ctypes.c_ulong
x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XFree.argtypes = [ctypes.c_void_p]
ALL_PLANES, Z_PIXMAP = 0xFFFFFFFF, 2

xtest = ctypes.CDLL("libXtst.so.6")
xtest.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]


def press(display, key_name):
    """Presses and releases a key as a keyboard would, to the window that has the focus."""
    keycode = x11.XKeysymToKeycode(display, x11.XStringToKeysym(key_name))
    for down in (1, 0):
        xtest.XTestFakeKeyEvent(display, keycode, down, 0)
    x11.XFlush(display)


def cell_lit(display, window, column, row):
    image = x11.XGetImage(display, window, column * 8, row * 16, 8, 16, ALL_PLANES, Z_PIXMAP)
    if not image:
        sys.exit("the window is gone")
    lit = any(x11.XGetPixel(image, x, y) & 0xFFFFFF for y in range(16) for x in range(8))
    x11.XFree(ctypes.c_void_p.from_address(image + 16).value)  # XImage.data: after 4 ints
    x11.XFree(image)
    return lit


def wait_for(display, window, column, row, lit):
    deadline = time.perf_counter() + 2
    while cell_lit(display, window, column, row) != lit:
        if time.perf_counter() > deadline:
            sys.exit("the cell did not change within 2 s")


x11.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 3 + \
    [ctypes.POINTER(ctypes.c_uint)]
x11.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]


def windows_under(display, parent, depth):
    root, up, children, count = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p(), ctypes.c_uint()
    if not x11.XQueryTree(display, parent, ctypes.byref(root), ctypes.byref(up),
                          ctypes.byref(children), ctypes.byref(count)):
        return []
    found = list((ctypes.c_ulong * count.value).from_address(children.value)) if count.value else []
    return found + ([w for c in found for w in windows_under(display, c, depth - 1)] if depth else [])


def titled(display, title):
    for window in windows_under(display, x11.XDefaultRootWindow(display), 1):
        name = ctypes.c_char_p()
        if x11.XFetchName(display, window, ctypes.byref(name)) and name.value == title:
            return window
    return 0


ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
IGNORE_ERRORS = ERROR_HANDLER(lambda display, error: 0)  # kept alive for Xlib
x11.XSetErrorHandler.argtypes = [ERROR_HANDLER]


def time_opening(display, title, column, row):
    """Polls from before the window exists; ignores X errors of a window going meanwhile."""
    x11.XSetErrorHandler(IGNORE_ERRORS)
    while True:
        window = titled(display, title)
        image = window and x11.XGetImage(display, window, column * 8, row * 16, 8, 16,
                                         ALL_PLANES, Z_PIXMAP)
        if image and any(x11.XGetPixel(image, x, y) & 0xFFFFFF for y in range(16) for x in range(8)):
            print(f"{time.time():.4f}", flush=True)
            return


def main():
    display = x11.XOpenDisplay(None)
    if sys.argv[1] == "open":
        time_opening(display, sys.argv[2].encode(), int(sys.argv[3]), int(sys.argv[4]))
        return
    window, column, row, count = (int(a, 0) for a in sys.argv[2:6])
    subprocess.run(["xdotool", "windowfocus", "--sync", str(window)], check=True)
    for n in range(count):
        # Keys come at random moments, as a typist's do, not in step with the presents.
        time.sleep(random.uniform(0, 0.05))
        start = time.perf_counter()
        press(display, str(n % 10).encode())
        wait_for(display, window, column, row, True)
        print(f"{(time.perf_counter() - start) * 1000:.2f}", flush=True)
        press(display, b"BackSpace")
        wait_for(display, window, column, row, False)


if __name__ == "__main__":
    main()
