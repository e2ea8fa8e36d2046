"""The pictures the program's pages show: list-entry icons, power-panel icons, device pictures.

Geometry the pages place controls on (keys, LEDs) is defined here beside the picture it belongs
to, so a picture and its controls cannot drift apart.
"""
import math
import os

from raster import (Picture, arc, circle, ellipse, hex_colour, polygon, rounded_rect, segment, subtract,
                    union, write_png)

DIM = hex_colour('9B9DA8')
ACCENT = hex_colour('F0384F')
TEXT = hex_colour('E8E9ED')
FAINT = hex_colour('5C5E68')
RAISED = hex_colour('26272E')
SURFACE = hex_colour('1E1F25')
BORDER = hex_colour('3A3C46')
DEEP = hex_colour('141519')
GREEN = hex_colour('3DDC84')
AMBER = hex_colour('F5C542')

# ---- list-entry icons (40 x 28) ----------------------------------------------------------------

ICON_W, ICON_H = 40, 28
STROKE = 1.6


def icon_keyboard(p, c):
    p.stroke(rounded_rect(3, 7, 37, 23, 3), STROKE, c)
    for row, y in enumerate((11, 15)):
        for i in range(7):
            x = 7 + i * 4.3 + (row * 1.5)
            p.fill(rounded_rect(x - 1, y - 1, x + 1, y + 1, 0.4), c)
    p.fill(segment(13, 19, 27, 19, 1.6), c)


def icon_mouse(p, c):
    p.stroke(ellipse(20, 14, 8, 12), STROKE, c)
    p.fill(segment(20, 2.5, 20, 10, 1.2), c)
    p.fill(segment(20, 6, 20, 8, 2.6), c)


def icon_pad(soft):
    def draw(p, c):
        p.stroke(rounded_rect(3, 6, 37, 22, 6 if soft else 1.5), STROKE, c)
        if soft:
            p.fill(segment(8, 18, 16, 18, 1.4), c)
        else:
            p.stroke(circle(30, 12, 3.6), 1.2, c)
            p.fill(circle(30, 12, 1.2), c)
    return draw


def icon_headset(p, c):
    p.fill(arc(20, 17, 12, 0, 180, 1.8), c)
    p.fill(rounded_rect(5, 14, 11.5, 25, 2.2), c)
    p.fill(rounded_rect(28.5, 14, 35, 25, 2.2), c)


def icon_unknown(p, c):
    p.stroke(circle(20, 14, 11), STROKE, c)
    p.fill(arc(20, 10.5, 3.8, -90, 180, 1.6), c)
    p.fill(segment(20, 14.3, 20, 16.2, 1.6), c)
    p.fill(circle(20, 19.6, 1.1), c)


ENTRY_ICONS = {
    'kb': icon_keyboard,
    'ms': icon_mouse,
    'soft_mp': icon_pad(True),
    'hard_mp': icon_pad(False),
    'hd': icon_headset,
    'unknow': icon_unknown,
}


def entry_icon(draw, selected, synchro):
    p = Picture(ICON_W, ICON_H)
    c = ACCENT if selected else DIM
    draw(p, c)
    if synchro:
        # The synchronisation mark: two linked rings in the top right corner.
        p.fill(circle(35, 5, 4.6), DEEP)
        p.stroke(circle(33.4, 5, 2.2), 1.1, TEXT if selected else DIM)
        p.stroke(circle(36.6, 5, 2.2), 1.1, TEXT if selected else DIM)
    return p


# ---- power panel (28 x 18 status, 18 x 18 wireless, 14 x 20 phones) ----------------------------

def battery(p, c):
    p.stroke(rounded_rect(2, 4, 23, 14, 2), 1.4, c)
    p.fill(rounded_rect(24.2, 7, 26.4, 11, 0.6), c)


def power_full():
    p = Picture(28, 18)
    battery(p, DIM)
    p.fill(rounded_rect(4.2, 6.2, 20.8, 11.8, 0.8), GREEN)
    return p


def power_charging():
    p = Picture(28, 18)
    battery(p, DIM)
    p.fill(polygon([(14, 5), (9, 10), (12.5, 10), (11, 13.5), (16.5, 8), (13, 8), (14.5, 5)]), AMBER)
    return p


def power_wireless_charging():
    p = Picture(28, 18)
    battery(p, DIM)
    p.fill(polygon([(13, 5.5), (9, 9.8), (12, 9.8), (10.8, 13), (15.5, 8.2), (12.5, 8.2), (13.8, 5.5)]), AMBER)
    p.fill(arc(19, 9, 2.2, -50, 50, 1.0), AMBER)
    return p


def power_battery():
    p = Picture(28, 18)
    battery(p, DIM)
    return p


def wireless_logo():
    p = Picture(18, 18)
    for r in (3.5, 7, 10.5):
        p.fill(arc(9, 15, r, 45, 135, 1.6), DIM)
    p.fill(circle(9, 15, 1.4), DIM)
    return p


def phone(kind):
    p = Picture(14, 20)
    c = FAINT if kind == 'no_device' else DIM
    p.stroke(rounded_rect(2.5, 1.5, 11.5, 18.5, 2.2), 1.3, c)
    if kind == 'iphone':
        p.fill(segment(5.5, 3.6, 8.5, 3.6, 1.4), c)
    elif kind == 'samsung':
        p.fill(circle(7, 3.8, 0.9), c)
    elif kind == 'other':
        p.fill(segment(5.8, 16.4, 8.2, 16.4, 1.0), c)
    else:
        p.fill(segment(1, 19, 13, 1, 1.2), c)
    return p


# ---- device pictures ---------------------------------------------------------------------------

MOUSE_SIZE = (180, 270)
# key index, rectangle on the picture, tool tip (a language key)
MOUSE_KEYS = [
    (0, (18, 18, 60, 76), 'mouse_key_left'),
    (1, (102, 18, 60, 76), 'mouse_key_right'),
    (2, (81, 28, 18, 46), 'mouse_key_middle'),
    (3, (6, 118, 12, 32), 'mouse_key_forward'),
    (4, (8, 156, 12, 32), 'mouse_key_back'),
    (5, (82, 84, 16, 13), 'mouse_key_DPI_add'),
    (6, (82, 100, 16, 13), 'mouse_key_DPI_sub'),
]
# wheel, logo, left and right side strips, left and right tail
MOUSE_LEDS = [(81, 28, 18, 46), (80, 178, 20, 20), (28, 112, 7, 56), (145, 112, 7, 56), (50, 238, 30, 7),
              (100, 238, 30, 7)]


def mouse_body():
    w, h = MOUSE_SIZE
    p = Picture(w, h)
    body = ellipse(90, 136, 80, 131)
    p.fill(body, RAISED)
    p.stroke(body, 2, BORDER)
    p.fill(segment(90, 6, 90, 100, 2), DEEP)
    p.fill(arc(90, 330, 233, 64, 116, 2), DEEP)
    p.fill(rounded_rect(79, 26, 101, 76, 10), DEEP)
    p.stroke(circle(90, 188, 14), 1.5, BORDER)
    return p


PAD_SIZE = (760, 250)


def pad_leds():
    leds = []
    for i in range(6):          # top, left to right
        leds.append((40 + i * 113, 12, 100, 7))
    for i in range(2):          # right, top to bottom
        leds.append((741, 40 + i * 88, 7, 76))
    for i in range(5):          # bottom, right to left
        leds.append((720 - (i + 1) * 136 + 12, 231, 124, 7))
    for i in range(2):          # left, bottom to top
        leds.append((12, 128 - i * 88, 7, 76))
    return leds


PAD_LEDS = pad_leds()


def pad_body():
    w, h = PAD_SIZE
    p = Picture(w, h)
    pad = rounded_rect(6, 6, w - 6, h - 6, 24)
    p.fill(pad, SURFACE)
    p.stroke(pad, 2, BORDER)
    for r in (14, 24, 34):
        p.stroke(circle(676, 86, r), 1.5, BORDER)
    p.fill(circle(676, 86, 5), BORDER)
    return p


HEADSET_SIZE = (420, 280)


def headset_leds():
    leds = []
    for cx in (70, 350):
        for i in range(6):
            a = math.radians(90 + i * 60)
            x, y = cx + 34 * math.cos(a), 200 - 34 * math.sin(a)
            leds.append((int(round(x - 6)), int(round(y - 6)), 12, 12))
    leds.append((172, 254, 14, 10))
    return leds


HEADSET_LEDS = headset_leds()


def headset_body():
    w, h = HEADSET_SIZE
    p = Picture(w, h)
    p.fill(arc(210, 190, 160, 8, 172, 18), RAISED)
    p.fill(arc(210, 190, 160, 8, 172, 2), BORDER)
    for x0 in (20, 300):
        cup = rounded_rect(x0, 128, x0 + 100, 272, 46)
        p.fill(cup, RAISED)
        p.stroke(cup, 2, BORDER)
        p.stroke(circle(x0 + 50, 200, 22), 1.5, BORDER)
    p.fill(segment(70, 250, 176, 259, 6), RAISED)
    return p


def no_device():
    p = Picture(160, 120)
    p.stroke(rounded_rect(58, 46, 102, 86, 8), 2.5, FAINT)
    p.stroke(rounded_rect(66, 22, 94, 46, 3), 2.5, FAINT)
    p.fill(rounded_rect(72, 30, 77, 36, 1), FAINT)
    p.fill(rounded_rect(83, 30, 88, 36, 1), FAINT)
    p.fill(segment(80, 86, 80, 112, 3), FAINT)
    p.fill(segment(36, 100, 124, 16, 3), hex_colour('F0384F', 200))
    return p


def pictures():
    out = {}
    for prefix, draw in ENTRY_ICONS.items():
        for suffix, selected, synchro in (('normal', False, False), ('selected', True, False),
                                          ('synchro_normal', False, True), ('synchro_selected', True, True)):
            out['common/device_ico/%s_device_%s.png' % (prefix, suffix)] = (entry_icon(draw, selected, synchro), 3)
    out['power/powered.png'] = (power_full(), 2)
    out['power/powering.png'] = (power_charging(), 2)
    out['power/wuxian_powering.png'] = (power_wireless_charging(), 2)
    out['power/power.png'] = (power_battery(), 2)
    out['power/wuxian_logo.png'] = (wireless_logo(), 2)
    for kind in ('iphone', 'samsung', 'other', 'no_device'):
        out['power/Phone_type_%s.png' % kind] = (phone(kind), 2)
    out['images/device/mouse_body.png'] = (mouse_body(), 2)
    out['images/device/pad_body.png'] = (pad_body(), 2)
    out['images/device/headset_body.png'] = (headset_body(), 2)
    out['images/device/no_device.png'] = (no_device(), 2)
    return out


def write_all(skin_dir):
    written = []
    for rel, (pic, scale) in sorted(pictures().items()):
        path = os.path.join(skin_dir, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        w, h, data = pic.render(scale)
        write_png(path, w, h, data)
        written.append(rel)
    return written
