#!/usr/bin/env python3
"""Draws the design-time dialogs' pictures: the left strip (JPEG), the window
icon, the button glyphs and the About picture. Pure Python; the strip is
written as PPM and encoded by cjpeg (pass its path as the first argument).
Output goes to src/editors/art; the files are committed, so the build never
runs this."""
import math
import os
import struct
import subprocess
import sys

OUT = os.path.join(os.path.dirname(__file__), '..', '..', 'src', 'editors', 'art')


class Canvas:
    def __init__(self, w, h, colour=(255, 255, 255)):
        self.w, self.h = w, h
        self.px = [[colour] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1):
            self.put(x, y0, c); self.put(x, y1 - 1, c)
        for y in range(y0, y1):
            self.put(x0, y, c); self.put(x1 - 1, y, c)

    def vgradient(self, c0, c1):
        for y in range(self.h):
            t = y / max(1, self.h - 1)
            row = tuple(int(a + (b - a) * t) for a, b in zip(c0, c1))
            self.px[y] = [row] * self.w

    def pie(self, cx, cy, r, slices, ry=None, dark=False):
        """Slices: list of (fraction, colour); counter-clockwise from three o'clock."""
        ry = ry or r
        total = sum(f for f, _ in slices)
        for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                dx, dy = (x - cx) / r, (y - cy) / ry
                if dx * dx + dy * dy > 1:
                    continue
                a = math.atan2(-dy, dx) % (2 * math.pi)
                acc = 0
                for f, c in slices:
                    acc += f / total * 2 * math.pi
                    if a <= acc:
                        if dark:
                            c = tuple(v * 3 // 4 for v in c)
                        self.put(x, y, c)
                        break

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.put(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def pattern(self, x, y, rows, c):
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch == '#':
                    self.put(x + i, y + j, c)

    def bmp(self):
        pad = (4 - self.w * 3 % 4) % 4
        body = b''
        for row in reversed(self.px):
            body += b''.join(bytes((b, g, r)) for r, g, b in row) + b'\0' * pad
        header = struct.pack('<2sIHHI', b'BM', 54 + len(body), 0, 0, 54)
        info = struct.pack('<IiiHHIIiiII', 40, self.w, self.h, 1, 24, 0, len(body), 3780, 3780, 0, 0)
        return header + info + body

    def ppm(self):
        return b'P6 %d %d 255\n' % (self.w, self.h) + b''.join(bytes(p) for row in self.px for p in row)

    def ico(self):
        """One 32-bit image with an opaque AND mask."""
        body = b''.join(bytes((b, g, r, 255)) for row in reversed(self.px) for r, g, b in row)
        mask = b'\0' * (((self.w + 31) // 32) * 4 * self.h)
        info = struct.pack('<IiiHHIIiiII', 40, self.w, self.h * 2, 1, 32, 0, len(body) + len(mask), 0, 0, 0, 0)
        image = info + body + mask
        head = struct.pack('<HHH', 0, 1, 1)
        entry = struct.pack('<BBBBHHII', self.w, self.h, 0, 0, 1, 32, len(image), 6 + 16)
        return head + entry + image


PALETTE = [(220, 60, 60), (250, 180, 40), (70, 160, 80), (60, 110, 200), (150, 80, 170)]
SLICES = list(zip([30, 22, 18, 16, 14], PALETTE))


def strip():
    c = Canvas(76, 316)
    c.vgradient((128, 0, 64), (255, 255, 225))
    for i, cy in enumerate((52, 150, 248)):
        rot = SLICES[i:] + SLICES[:i]
        c.pie(38, cy + 5, 28, rot, ry=14, dark=True)
        c.pie(38, cy, 28, rot, ry=14)
    return c


def about():
    c = Canvas(185, 145, (255, 255, 255))
    c.frame(0, 0, 185, 145, (200, 200, 200))
    for dy in range(10, 0, -1):
        c.pie(92, 72 + dy, 70, SLICES, ry=42, dark=True)
    c.pie(92, 72, 70, SLICES, ry=42)
    return c


def icon():
    c = Canvas(32, 32, (255, 255, 225))
    c.pie(16, 18, 14, SLICES, ry=10, dark=True)
    c.pie(16, 15, 14, SLICES, ry=10)
    return c


GLYPHS = {
    # object picker: a rectangle with a pointer
    'object': (['##########  ', '#        #  ', '#        #  ', '#        #  ', '#     #  #  ',
                '#     ##    ', '######### # ', '      #### #', '      ###   ', '      ##    ', '      #     '],
               (60, 110, 200)),
    # variable picker: a dollar sign, the host's variable mark
    'variable': (['    #    ', '  #####  ', ' #  #  # ', ' #  #    ', '  ####   ', '    # #  ',
                  '    #  # ', ' #  #  # ', '  #####  ', '    #    '], (128, 0, 64)),
    # colour: three overlapping swatches
    'colour': None,
    # font: a serif A
    'font': (['    ##    ', '    ##    ', '   # ##   ', '   # ##   ', '  #   ##  ', '  ######  ',
              ' #     ## ', ' #     ## ', '###   ####'], (40, 40, 40)),
    # open picture: a folder
    'open': (['            ', ' ####       ', '#    #######', '#          #', '#  ######## #', '# #        #',
              '##        # ', '#        #  ', '##########  '], (180, 130, 30)),
    # add record: a plus
    'add': (['   ##   ', '   ##   ', '   ##   ', '########', '########', '   ##   ', '   ##   ', '   ##   '],
            (40, 140, 60)),
    # delete record: a cross
    'delete': (['##    ##', '###  ###', ' ###### ', '  ####  ', '  ####  ', ' ###### ', '###  ###', '##    ##'],
               (200, 40, 40)),
    # rotate up: an arrow pointing up
    'up': (['    #    ', '   ###   ', '  #####  ', ' ####### ', '#########', '   ###   ', '   ###   ',
            '   ###   '], (60, 110, 200)),
    # rotate down: an arrow pointing down
    'down': (['   ###   ', '   ###   ', '   ###   ', '#########', ' ####### ', '  #####  ', '   ###   ',
              '    #    '], (60, 110, 200)),
    # save picture: a diskette
    'save': (['###########', '# #     # #', '# #     # #', '# ####### #', '#         #', '#  #####  #',
              '#  #   #  #', '#  #   #  #', '###########'], (60, 60, 140)),
}


def glyph(name):
    c = Canvas(16, 16, (255, 255, 255))
    if name == 'colour':
        c.rect(2, 2, 9, 9, PALETTE[0]); c.rect(7, 5, 14, 12, PALETTE[2]); c.rect(4, 8, 11, 15, PALETTE[3])
        return c
    rows, colour = GLYPHS[name]
    c.pattern((16 - len(rows[0])) // 2, (16 - len(rows)) // 2, rows, colour)
    return c


def main():
    os.makedirs(OUT, exist_ok=True)
    cjpeg = sys.argv[1] if len(sys.argv) > 1 else 'cjpeg'
    ppm = os.path.join(OUT, 'strip.ppm')
    with open(ppm, 'wb') as f:
        f.write(strip().ppm())
    with open(os.path.join(OUT, 'strip.jpg'), 'wb') as f:
        subprocess.run([cjpeg, '-quality', '90', ppm], stdout=f, check=True)
    os.remove(ppm)
    with open(os.path.join(OUT, 'about.bmp'), 'wb') as f:
        f.write(about().bmp())
    with open(os.path.join(OUT, 'icon.ico'), 'wb') as f:
        f.write(icon().ico())
    for name in GLYPHS:
        with open(os.path.join(OUT, 'glyph_%s.bmp' % name), 'wb') as f:
            f.write(glyph(name).bmp())


if __name__ == '__main__':
    main()
