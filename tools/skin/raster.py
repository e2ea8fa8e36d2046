"""A small anti-aliased rasteriser for the skin's flat pictures, and a PNG writer.

Shapes are signed distance functions (negative inside), so edges are anti-aliased from the
distance alone and every picture can be drawn at any scale from the same description.
"""
import math
import struct
import zlib


def _clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def hex_colour(text, alpha=255):
    text = text.lstrip('#')
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), alpha)


# ---- distance functions (x, y in picture units) ----------------------------------------

def rounded_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return d, (x0, y0, x1, y1)


def circle(cx, cy, r):
    return (lambda x, y: math.hypot(x - cx, y - cy) - r), (cx - r, cy - r, cx + r, cy + r)


def ellipse(cx, cy, rx, ry):
    # Not exact away from the edge, close enough for anti-aliasing.
    k = min(rx, ry)
    return (lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * k), (cx - rx, cy - ry, cx + rx, cy + ry)


def segment(ax, ay, bx, by, width):
    r = width / 2

    def d(x, y):
        px, py, vx, vy = x - ax, y - ay, bx - ax, by - ay
        t = _clamp((px * vx + py * vy) / (vx * vx + vy * vy or 1.0))
        return math.hypot(px - vx * t, py - vy * t) - r
    return d, (min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r)


def arc(cx, cy, radius, start_deg, end_deg, width):
    """A stroke along a circle from start to end (degrees, counter-clockwise, y up)."""
    r = width / 2
    a0, a1 = math.radians(start_deg), math.radians(end_deg)
    ends = [(cx + radius * math.cos(a), cy - radius * math.sin(a)) for a in (a0, a1)]

    def d(x, y):
        ang = math.atan2(-(y - cy), x - cx)
        a = (ang - a0) % (2 * math.pi)
        if a <= (a1 - a0) % (2 * math.pi) or (a1 - a0) >= 2 * math.pi:
            return abs(math.hypot(x - cx, y - cy) - radius) - r
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - r
    ext = radius + r
    return d, (cx - ext, cy - ext, cx + ext, cy + ext)


def outline(shape, width):
    f, box = shape
    h = width / 2
    return (lambda x, y: abs(f(x, y)) - h), (box[0] - h, box[1] - h, box[2] + h, box[3] + h)


def subtract(a, b):
    fa, box = a
    fb, _ = b
    return (lambda x, y: max(fa(x, y), -fb(x, y))), box


def union(*shapes):
    fs = [s[0] for s in shapes]
    box = (min(s[1][0] for s in shapes), min(s[1][1] for s in shapes),
           max(s[1][2] for s in shapes), max(s[1][3] for s in shapes))
    return (lambda x, y: min(f(x, y) for f in fs)), box


def polygon(points):
    n = len(points)

    def d(x, y):
        best = float('inf')
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            vx, vy, px, py = bx - ax, by - ay, x - ax, y - ay
            t = _clamp((px * vx + py * vy) / (vx * vx + vy * vy or 1.0))
            best = min(best, math.hypot(px - vx * t, py - vy * t))
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return -best if inside else best
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return d, (min(xs), min(ys), max(xs), max(ys))


# ---- pictures ------------------------------------------------------------------------------

class Picture:
    """Layers of (shape, colour) over a transparent ground, drawn at a scale."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.layers = []

    def fill(self, shape, colour):
        self.layers.append((shape, colour))
        return self

    def stroke(self, shape, width, colour):
        return self.fill(outline(shape, width), colour)

    def render(self, scale=2):
        w, h = int(round(self.width * scale)), int(round(self.height * scale))
        pixels = bytearray(w * h * 4)
        for (f, box), (cr, cg, cb, ca) in self.layers:
            x0 = max(0, int((box[0] - 1) * scale))
            y0 = max(0, int((box[1] - 1) * scale))
            x1 = min(w, int((box[2] + 1) * scale) + 1)
            y1 = min(h, int((box[3] + 1) * scale) + 1)
            for py in range(y0, y1):
                y = (py + 0.5) / scale
                row = py * w * 4
                for px in range(x0, x1):
                    cover = _clamp(0.5 - f((px + 0.5) / scale, y) * scale)
                    if cover <= 0.0:
                        continue
                    a = ca / 255.0 * cover
                    i = row + px * 4
                    da = pixels[i + 3] / 255.0
                    out_a = a + da * (1 - a)
                    if out_a <= 0:
                        continue
                    for c, v in ((0, cr), (1, cg), (2, cb)):
                        pixels[i + c] = int(round((v * a + pixels[i + c] * da * (1 - a)) / out_a))
                    pixels[i + 3] = int(round(out_a * 255))
        return w, h, bytes(pixels)


def write_png(path, width, height, rgba):
    raw = b''.join(b'\x00' + rgba[y * width * 4:(y + 1) * width * 4] for y in range(height))

    def chunk(kind, data):
        c = struct.pack('>I', len(data)) + kind + data
        return c + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff)
    png = b'\x89PNG\r\n\x1a\n'
    png += chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(raw, 9))
    png += chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(png)
