#!/usr/bin/env python3
"""Draws the tool-bar and list icons and writes them as XPM files.

The icons are drawn with anti-aliased vector shapes (4x4 supersampling).
Pixels the shapes do not touch get the symbolic colour "background", which
the program maps to the widget's own background; partly covered edge pixels
are blended against the background the icon is meant for: BG, the window
background of the app defaults, for tool-bar icons, white for list icons.

Run it from this folder after changing a drawing: python3 make_icons.py
"""
import math
import os

BG = (0xd9, 0xd9, 0xd9)
SS = 4  # subsamples per pixel side


def hexrgb(s):
    s = s.lstrip('#')
    return tuple(int(s[i:i + 2], 16) for i in (0, 2, 4))


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.rgb = [[None] * w for _ in range(h)]   # premultiplied colour
        self.a = [[0.0] * w for _ in range(h)]

    def paint(self, inside, colour):
        """Composites `colour` over the pixels where inside(x, y) holds."""
        c = hexrgb(colour) if isinstance(colour, str) else colour
        for py in range(self.h):
            for px in range(self.w):
                n = 0
                for sy in range(SS):
                    for sx in range(SS):
                        if inside(px + (sx + 0.5) / SS, py + (sy + 0.5) / SS):
                            n += 1
                if n == 0:
                    continue
                cov = n / (SS * SS)
                old = self.rgb[py][px] or (0.0, 0.0, 0.0)
                oa = self.a[py][px]
                self.rgb[py][px] = tuple(c[i] * cov + old[i] * (1 - cov) for i in range(3))
                self.a[py][px] = cov + oa * (1 - cov)

    def pixels(self, bg=BG):
        out = []
        for py in range(self.h):
            row = []
            for px in range(self.w):
                a = self.a[py][px]
                if a < 0.04:
                    row.append(None)
                else:
                    c = self.rgb[py][px]
                    row.append(tuple(int(round(c[i] + bg[i] * (1 - a))) for i in range(3)))
            out.append(row)
        return out


# Shapes: predicates over continuous pixel coordinates.
def poly(points):
    def inside(x, y):
        c = False
        n = len(points)
        for i in range(n):
            x1, y1 = points[i]
            x2, y2 = points[(i + 1) % n]
            if (y1 > y) != (y2 > y):
                if x < (x2 - x1) * (y - y1) / (y2 - y1) + x1:
                    c = not c
        return c
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r1, r2):
    return lambda x, y: r1 * r1 <= (x - cx) ** 2 + (y - cy) ** 2 <= r2 * r2


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1


def seg(x1, y1, x2, y2, w):
    def inside(x, y):
        dx, dy = x2 - x1, y2 - y1
        L = dx * dx + dy * dy
        t = 0 if L == 0 else max(0, min(1, ((x - x1) * dx + (y - y1) * dy) / L))
        px, py = x1 + t * dx, y1 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (w / 2) ** 2
    return inside


def rrect(x1, y1, x2, y2, r):
    def inside(x, y):
        if x < x1 or x > x2 or y < y1 or y > y2:
            return False
        cx = min(max(x, x1 + r), x2 - r)
        cy = min(max(y, y1 + r), y2 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def rect(x1, y1, x2, y2):
    return lambda x, y: x1 <= x <= x2 and y1 <= y <= y2


def arc(cx, cy, r, w, a1, a2):
    """A stroke of width w along the circle, angles in degrees (0 = right, counter-clockwise)."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > w / 2:
            return False
        ang = math.degrees(math.atan2(cy - y, x - cx)) % 360
        lo, hi = a1 % 360, a2 % 360
        return lo <= ang <= hi if lo <= hi else (ang >= lo or ang <= hi)
    return inside


def minus(a, b):
    return lambda x, y: a(x, y) and not b(x, y)


def union(*fs):
    return lambda x, y: any(f(x, y) for f in fs)


def shadowed(c, shape, colour, dx=1.0, dy=1.0, shade='#00000040'):
    c.paint(lambda x, y: shape(x - dx, y - dy), (0x70, 0x70, 0x70))
    c.paint(shape, colour)


# ---- tool-bar icons, 28x28 -------------------------------------------------
S = 28


def arrow(down):
    c = Canvas(S, S)
    if down:
        shape = poly([(10, 4), (18, 4), (18, 13), (24, 13), (14, 24), (4, 13), (10, 13)])
    else:
        shape = poly([(10, 24), (18, 24), (18, 15), (24, 15), (14, 4), (4, 15), (10, 15)])
    c.paint(lambda x, y: shape(x - 1, y - 1), '#5a6b80')
    c.paint(shape, '#2f6db5')
    hi = poly([(11, 5), (13, 5), (13, 14), (11, 14)]) if down else poly([(11, 16), (13, 16), (13, 23), (11, 23)])
    c.paint(hi, '#6fa4e0')
    return c


def trash():
    c = Canvas(S, S)
    body = poly([(7, 9), (21, 9), (19.5, 25), (8.5, 25)])
    c.paint(lambda x, y: body(x - 1, y - 1), '#6a6a6a')
    c.paint(body, '#8c96a0')
    for x in (11, 14, 17):
        c.paint(seg(x, 11.5, x - (x - 14) * 0.1, 22.5, 1.6), '#5b636b')
    c.paint(rrect(5, 6, 23, 9, 1), '#5b636b')
    c.paint(rrect(11, 3.5, 17, 6.5, 1), '#5b636b')
    c.paint(seg(15, 12, 25, 22, 3), '#c0392b')
    c.paint(seg(25, 12, 15, 22, 3), '#c0392b')
    return c


def eye_slash():
    c = Canvas(S, S)
    outline = ellipse(14, 14, 12, 7)
    c.paint(outline, '#3c4650')
    c.paint(ellipse(14, 14, 10.5, 5.6), '#ffffff')
    c.paint(circle(14, 14, 4.6), '#2f6db5')
    c.paint(circle(14, 14, 2.2), '#111111')
    c.paint(circle(12.6, 12.6, 1.0), '#ffffff')
    c.paint(seg(5, 24, 23, 4, 4.2), '#d9d9d9')
    c.paint(seg(5, 24, 23, 4, 2.6), '#c0392b')
    return c


def hammer(alt):
    c = Canvas(S, S)
    handle = seg(8, 24, 17, 12, 3.2)
    c.paint(lambda x, y: handle(x - 0.8, y - 0.8), '#5a4025')
    c.paint(handle, '#b07a3c')
    head = poly([(12, 7), (20, 2.5), (25, 9.5), (17, 14)])
    c.paint(lambda x, y: head(x - 0.8, y - 0.8), '#4a4a4a')
    c.paint(head, '#7d8790')
    c.paint(poly([(13, 7.4), (20, 3.4), (21, 4.8), (14, 8.8)]), '#b8c0c8')
    if alt:
        # a green circular arrow: rebuild again
        c.paint(arc(20, 20, 5.2, 2.4, 110, 380), '#1e8449')
        c.paint(poly([(22.5, 12.2), (26.8, 15.5), (21.5, 17.5)]), '#1e8449')
    return c


def question():
    c = Canvas(S, S)
    c.paint(circle(14.8, 14.8, 11.5), '#5a6b80')
    c.paint(circle(14, 14, 11.5), '#2f6db5')
    c.paint(ring(14, 14, 10, 11.5), '#245a96')
    q = union(arc(14, 10.5, 4.2, 3.0, -60, 200), seg(16.1, 14.2, 14, 16.2, 3.0), seg(14, 16, 14, 17.6, 3.0))
    c.paint(q, '#ffffff')
    c.paint(circle(14, 21.5, 1.9), '#ffffff')
    return c


def power():
    c = Canvas(S, S)
    c.paint(lambda x, y: arc(14, 15, 9, 3.4, 125, 415)(x - 0.8, y - 0.8), '#6a2a20')
    c.paint(arc(14, 15, 9, 3.4, 125, 415), '#c0392b')
    c.paint(lambda x, y: seg(14, 3, 14, 14, 3.4)(x - 0.8, y - 0.8), '#6a2a20')
    c.paint(seg(14, 3, 14, 14, 3.4), '#c0392b')
    return c


# ---- list annotation icons: 16x16, active client 15x15 ---------------------
def bug():
    c = Canvas(16, 16)
    for y0, dx in ((6, 5), (9, 5.5), (12, 5)):
        c.paint(seg(8 - dx, y0 - 1, 8 + dx, y0 + 1, 1.1), '#333333')
        c.paint(seg(8 - dx, y0 + 1, 8 + dx, y0 - 1, 1.1), '#333333')
    c.paint(ellipse(8, 9.5, 4, 5), '#b03a2e')
    c.paint(circle(8, 4, 2.5), '#333333')
    c.paint(seg(8, 5, 8, 14, 0.8), '#5a1d17')
    return c


def leak():
    c = Canvas(16, 16)
    drop = union(poly([(8, 1), (12.2, 9), (3.8, 9)]), circle(8, 10.2, 4.3))
    c.paint(drop, '#1f78c8')
    c.paint(ellipse(6.4, 10, 1.2, 2), '#9cc9f0')
    return c


def signal():
    c = Canvas(16, 16)
    c.paint(poly([(9.5, 0.5), (3, 9), (7.5, 9), (5.5, 15.5), (13, 6.5), (8.5, 6.5), (11, 0.5)]), '#e3a20b')
    c.paint(lambda x, y: poly([(9.5, 0.5), (3, 9), (7.5, 9), (5.5, 15.5), (13, 6.5), (8.5, 6.5), (11, 0.5)])(x, y)
            and not poly([(9.7, 1.8), (4.6, 8.2), (8.7, 8.2), (7.4, 12.5), (11.4, 7.3), (7.4, 7.3), (10, 1.8)])(x, y),
            '#8a5a00')
    return c


def summary():
    c = Canvas(16, 16)
    c.paint(rect(2.5, 1.5, 13.5, 14.5), '#555555')
    c.paint(rect(3.5, 2.5, 12.5, 13.5), '#ffffff')
    for y in (5, 7.5, 10, 12):
        c.paint(seg(5, y, 11, y, 1.0), '#2f6db5')
    return c


def zx():
    c = Canvas(16, 16)
    c.paint(poly([(8, 1), (15, 14.5), (1, 14.5)]), '#7a5c00')
    c.paint(poly([(8, 3), (13.3, 13.5), (2.7, 13.5)]), '#f1c40f')
    c.paint(seg(8, 6.5, 8, 10, 1.8), '#222222')
    c.paint(circle(8, 12, 1.0), '#222222')
    return c


def active():
    c = Canvas(15, 15)
    c.paint(circle(7.5, 7.5, 6.5), '#145a32')
    c.paint(circle(7.5, 7.5, 5.3), '#27ae60')
    c.paint(circle(6.2, 6.0, 1.8), '#a9dfbf')
    return c


def disabled(px):
    """Greyed variant: flat grey shape with an etched white highlight."""
    h, w = len(px), len(px[0])
    out = [[None] * w for _ in range(h)]
    lum = [[None if p is None else 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2] for p in row] for row in px]
    for y in range(h):
        for x in range(w):
            if lum[y][x] is not None:
                v = int(118 + lum[y][x] * 0.28)
                out[y][x] = (v, v, v)
    for y in range(h):
        for x in range(w):
            if out[y][x] is None and x > 0 and y > 0 and lum[y - 1][x - 1] is not None:
                out[y][x] = (0xf6, 0xf6, 0xf6)
    return out


CHARS = '.#abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+@$%&*=-;:<>,/?^~'


def xpm(name, px, bg=BG):
    h, w = len(px), len(px[0])
    quant = [[None if p is None else tuple(min(255, (v + 2) // 4 * 4) for v in p) for p in row] for row in px]
    colours = sorted({p for row in quant for p in row if p is not None})
    codes = {}
    cpp = 1 if len(colours) + 1 <= len(CHARS) else 2
    def code(i):
        if cpp == 1:
            return CHARS[i]
        return CHARS[i // len(CHARS)] + CHARS[i % len(CHARS)]
    bgcode = ' ' * cpp
    for i, col in enumerate(colours):
        codes[col] = code(i + 1)
    lines = ['/* XPM */', 'static const char* %s_xpm[] = {' % name,
             '"%d %d %d %d",' % (w, h, len(colours) + 1, cpp),
             '"%s s background c #%02x%02x%02x",' % (bgcode, *bg)]
    for col in colours:
        lines.append('"%s c #%02x%02x%02x",' % (codes[col], *col))
    rows = ['"' + ''.join(bgcode if p is None else codes[p] for p in row) + '"' for row in quant]
    lines.append(',\n'.join(rows))
    lines.append('};')
    return '\n'.join(lines) + '\n'


def write(name, canvas, with_disabled=True, bg=BG):
    px = canvas.pixels(bg)
    with open(name + '.xpm', 'w') as f:
        f.write(xpm(name, px, bg))
    if with_disabled:
        with open(name + '_dis.xpm', 'w') as f:
            f.write(xpm(name + '_dis', disabled(px)))


if __name__ == '__main__':
    os.chdir(os.path.dirname(os.path.abspath(__file__)))
    write('next', arrow(True))
    write('prev', arrow(False))
    write('delete', trash())
    write('suppress', eye_slash())
    write('build', hammer(False))
    write('rebuild', hammer(True), with_disabled=False)
    write('help', question())
    write('exit', power())
    # The list icons sit on the white panes of the message area.
    white = (0xff, 0xff, 0xff)
    write('bug', bug(), False, white)
    write('leak', leak(), False, white)
    write('signal', signal(), False, white)
    write('summary', summary(), False, white)
    write('zx', zx(), False, white)
    write('active', active(), False, white)
