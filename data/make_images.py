#!/usr/bin/env python3
"""Draws Quillet's resource images and writes them as files (no third-party modules):

- toolbar.bmp: the tool bar strip, ten 32x32 images side by side, 24-bit, magenta
  (255, 0, 255) where the button face shows through. Order: new, open, save, run,
  stop and debug the script in the debugger, call tips on, call tips off,
  autocompletion on, autocompletion off.
- quillet.ico: the program icon (a page with a quill), 32x32 and 16x16, 32-bit.

Run from anywhere: python3 data/make_images.py (writes beside this script).
"""
import os
import struct

SIZE = 32
MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
GREY = (128, 128, 128)
LIGHT = (200, 200, 200)
DARK = (64, 64, 64)
NAVY = (20, 40, 120)
BLUE = (40, 90, 200)
YELLOW = (240, 200, 60)
DARK_YELLOW = (180, 130, 20)
GREEN = (30, 160, 60)
RED = (210, 30, 30)
PAPER = (250, 250, 240)
TIP_YELLOW = (255, 245, 170)
HIGHLIGHT = (60, 120, 220)


class Canvas:
    def __init__(self, width, height, background):
        self.width, self.height = width, height
        self.pixels = [[background] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            self.put(x, y0, colour)
            self.put(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.put(x0, y, colour)
            self.put(x1, y, colour)

    def line(self, x0, y0, x1, y1, colour, width=1):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            for ox in range(width):
                for oy in range(width):
                    self.put(x0 + ox, y0 + oy, colour)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def disc(self, cx, cy, r, colour):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.put(x, y, colour)

    def glyph(self, x, y, rows, colour, scale=1):
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch == '#':
                    self.fill(x + i * scale, y + j * scale, x + i * scale + scale - 1, y + j * scale + scale - 1, colour)

    def paste(self, other, ox, oy):
        for y in range(other.height):
            for x in range(other.width):
                self.put(ox + x, oy + y, other.pixels[y][x])


QUESTION = [" ### ", "#   #", "    #", "   # ", "  #  ", "     ", "  #  "]
LETTER_A = [" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"]


def page(c, lines=True):
    """A sheet of paper with a folded top-right corner."""
    c.fill(7, 3, 24, 28, PAPER)
    c.fill(19, 3, 24, 8, MAGENTA)
    for i in range(6):  # the fold
        c.line(19 + i, 3, 24, 8 - i, PAPER)
    c.line(19, 3, 19, 8, DARK)
    c.line(19, 8, 24, 8, DARK)
    c.line(19, 3, 24, 8, DARK)
    c.line(7, 3, 19, 3, DARK)
    c.line(7, 3, 7, 28, DARK)
    c.line(7, 28, 24, 28, DARK)
    c.line(24, 8, 24, 28, DARK)
    if lines:
        for y in (12, 15, 18, 21, 24):
            c.line(10, y, 21, y, LIGHT)


def image_new():
    c = Canvas(SIZE, SIZE, MAGENTA)
    page(c)
    c.disc(24, 24, 5, YELLOW)  # a "new" star burst
    c.line(24, 18, 24, 30, DARK_YELLOW)
    c.line(18, 24, 30, 24, DARK_YELLOW)
    return c


def image_open():
    c = Canvas(SIZE, SIZE, MAGENTA)
    c.fill(3, 8, 13, 11, DARK_YELLOW)  # folder tab
    c.fill(3, 11, 28, 26, DARK_YELLOW)
    c.frame(3, 11, 28, 26, DARK)
    for i in range(12):  # open flap, slanted
        c.line(6 + i // 3, 15 + i, 30 - i // 3 - 2, 15 + i, YELLOW)
    c.line(6, 15, 30, 15, DARK)
    c.line(6, 15, 3, 26, DARK)
    c.line(30, 15, 28, 26, DARK)
    c.line(17, 2, 17, 9, GREEN, 2)  # arrow out of the folder
    c.line(13, 6, 17, 2, GREEN, 2)
    c.line(21, 6, 17, 2, GREEN, 2)
    return c


def image_save():
    c = Canvas(SIZE, SIZE, MAGENTA)
    c.fill(4, 4, 27, 27, BLUE)  # floppy disk body
    c.frame(4, 4, 27, 27, NAVY)
    c.fill(9, 4, 22, 12, LIGHT)  # metal shutter
    c.fill(17, 6, 20, 11, DARK)
    c.fill(8, 16, 23, 27, WHITE)  # label
    for y in (19, 22, 25):
        c.line(10, y, 21, y, GREY)
    c.put(5, 26, MAGENTA)  # notched corner
    return c


def image_run():
    """Run the script in the debugger: a green play triangle."""
    c = Canvas(SIZE, SIZE, MAGENTA)
    for i in range(11):
        c.line(9, 5 + i, 9 + 2 * i, 5 + i, GREEN)
        c.line(9, 26 - i, 9 + 2 * i, 26 - i, GREEN)
    c.line(8, 4, 8, 27, DARK)
    c.line(8, 4, 30, 15, DARK)
    c.line(8, 27, 30, 16, DARK)
    return c


def image_stop():
    """Stop the running script: a red square."""
    c = Canvas(SIZE, SIZE, MAGENTA)
    c.fill(7, 7, 24, 24, RED)
    c.frame(7, 7, 24, 24, DARK)
    return c


def image_debug():
    """Step the script in the debugger: a blue play triangle against a bar."""
    c = Canvas(SIZE, SIZE, MAGENTA)
    for i in range(9):
        c.line(6, 7 + i, 6 + 2 * i, 7 + i, BLUE)
        c.line(6, 24 - i, 6 + 2 * i, 24 - i, BLUE)
    c.line(5, 6, 5, 25, NAVY)
    c.line(5, 6, 24, 15, NAVY)
    c.line(5, 25, 24, 16, NAVY)
    c.fill(24, 6, 27, 25, NAVY)
    return c


def tip_bubble(c, colour, border):
    c.fill(3, 4, 28, 20, colour)
    c.frame(3, 4, 28, 20, border)
    for i in range(6):  # the bubble's pointer
        c.line(8, 20 + i, 13 - i, 20 + i, colour)
    c.line(8, 20, 8, 26, border)
    c.line(8, 26, 14, 20, border)
    c.glyph(13, 6, QUESTION, border, 2)


def switch_mark(c, on):
    if on:
        c.disc(25, 25, 5, GREEN)
        c.line(22, 25, 24, 28, WHITE)
        c.line(24, 28, 28, 22, WHITE)
    else:
        c.disc(25, 25, 5, RED)
        c.line(22, 22, 28, 28, WHITE, 2)
        c.line(28, 22, 22, 28, WHITE, 2)


def image_calltips(on):
    c = Canvas(SIZE, SIZE, MAGENTA)
    tip_bubble(c, TIP_YELLOW if on else LIGHT, NAVY if on else GREY)
    switch_mark(c, on)
    return c


def image_autocomplete(on):
    c = Canvas(SIZE, SIZE, MAGENTA)
    ink = NAVY if on else GREY
    c.fill(2, 2, 22, 8, WHITE)  # the typed word
    c.frame(2, 2, 22, 8, ink)
    c.glyph(4, 1 + 2, [" # ", "# #", "###", "# #"], ink)
    c.line(9, 4, 9, 7, ink)  # caret
    c.fill(4, 10, 24, 27, WHITE)  # the completion list
    c.frame(4, 10, 24, 27, ink)
    c.fill(5, 11, 23, 15, HIGHLIGHT if on else LIGHT)
    for y in (18, 22, 26):
        c.line(7, y - 1, 20, y - 1, GREY)
    switch_mark(c, on)
    return c


def toolbar_strip():
    images = [image_new(), image_open(), image_save(), image_run(), image_stop(), image_debug(),
              image_calltips(True), image_calltips(False), image_autocomplete(True), image_autocomplete(False)]
    strip = Canvas(SIZE * len(images), SIZE, MAGENTA)
    for i, image in enumerate(images):
        strip.paste(image, i * SIZE, 0)
    return strip


def bmp_bytes(canvas):
    """A bottom-up 24-bit BMP."""
    row_size = (canvas.width * 3 + 3) & ~3
    data = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        row = bytearray()
        for r, g, b in canvas.pixels[y]:
            row += bytes((b, g, r))
        row += b'\0' * (row_size - len(row))
        data += row
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + bytes(data)


def icon_canvas(size):
    c = Canvas(32, 32, MAGENTA)
    page(c)
    c.line(27, 1, 12, 24, NAVY, 2)  # the quill's shaft
    for i in range(8):  # its vane
        c.line(27 - i, 1 + i + 1, 27 - i + 3, 1 + i - 1, BLUE)
    c.line(12, 24, 10, 28, BLACK)  # nib
    if size == 32:
        return c
    small = Canvas(size, size, MAGENTA)
    step = 32 // size
    for y in range(size):
        for x in range(size):
            small.pixels[y][x] = c.pixels[y * step][x * step]
    return small


def icon_image(canvas):
    """One icon image: BITMAPINFOHEADER, 32-bit BGRA rows bottom-up, then the AND mask."""
    w, h = canvas.width, canvas.height
    xor = bytearray()
    mask = bytearray()
    mask_row = ((w + 31) // 32) * 4
    for y in range(h - 1, -1, -1):
        row_mask = bytearray(mask_row)
        for x, (r, g, b) in enumerate(canvas.pixels[y]):
            transparent = (r, g, b) == MAGENTA
            xor += bytes((0, 0, 0, 0)) if transparent else bytes((b, g, r, 255))
            if transparent:
                row_mask[x // 8] |= 0x80 >> (x % 8)
        mask += row_mask
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def ico_bytes(canvases):
    images = [icon_image(c) for c in canvases]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack('<BBBBHHII', c.width % 256, c.height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    return out


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, 'toolbar.bmp'), 'wb') as f:
        f.write(bmp_bytes(toolbar_strip()))
    with open(os.path.join(here, 'quillet.ico'), 'wb') as f:
        f.write(ico_bytes([icon_canvas(32), icon_canvas(16)]))


if __name__ == '__main__':
    main()
