#!/usr/bin/env python3
"""Reads the root window of $DISPLAY through libX11 and prints what the
whole-program tests look for, one `name value` a line:

  green   pixels whose green stands above red and blue (the rain, the banner)
  bright  pixels of the head and banner green (50, 255, 50)
  lit     pixels that are not black
  size    the screen's width and height

  screen-stats.py [x y width height]   only that area of the screen

Nothing but the X client library is needed: no screenshot tool, no image
library.
"""
import ctypes
import ctypes.util
import sys


class XImage(ctypes.Structure):
    _fields_ = [
        ("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
        ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
        ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
        ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
        ("bits_per_pixel", ctypes.c_int),
    ]


def main():
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XDefaultScreen.argtypes = [ctypes.c_void_p]
    x11.XDisplayWidth.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XGetImage.restype = ctypes.POINTER(XImage)
    x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                              ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the display")
    screen = x11.XDefaultScreen(display)
    width, height = x11.XDisplayWidth(display, screen), x11.XDisplayHeight(display, screen)
    x, y, w, h = (int(v) for v in sys.argv[1:5]) if len(sys.argv) >= 5 else (0, 0, width, height)
    image = x11.XGetImage(display, x11.XDefaultRootWindow(display), x, y, w, h, 0xFFFFFFFF, 2)  # ZPixmap
    if not image or image.contents.bits_per_pixel != 32:
        sys.exit("no 32-bit image of the screen")
    stride = image.contents.bytes_per_line
    data = ctypes.string_at(image.contents.data, stride * h)
    green = bright = lit = 0
    for row in range(h):
        line = data[row * stride: row * stride + 4 * w]
        for i in range(0, 4 * w, 4):
            b, g, r = line[i], line[i + 1], line[i + 2]
            if r or g or b:
                lit += 1
                if g > r + 40 and g > b + 40:
                    green += 1
                    if g > 200 and r > 30:
                        bright += 1
    print("green", green)
    print("bright", bright)
    print("lit", lit)
    print("size", width, height)


main()
