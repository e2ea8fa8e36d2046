"""Where each logical key of the keyboard sits on the page's full-size keyboard picture.

Logical key numbers are those of the keyboard's default key-code table (devices/keyboard).
Positions are in key units: x from the left edge of the macro column, y from the function row.
"""

# (logical key, label, x, y, width, height)
MACRO_COLUMN = [(120 + i, 'M%d' % (i + 1), 0.0, 1.25 + i, 1.0, 1.0) for i in range(5)]

MAIN_X = 1.4   # main block starts after the macro column and a gap
NAV_X = MAIN_X + 15.4
PAD_X = NAV_X + 3.4
ROW = [0.0, 1.25, 2.25, 3.25, 4.25, 5.25]


def _row(keys, x, y):
    out = []
    for key, label, width in keys:
        if key is not None:
            out.append((key, label, x, y, width, 1.0))
        x += width
    return out


FUNCTION_ROW = (
    [(0, 'Esc', MAIN_X, ROW[0], 1.0, 1.0)]
    + [(1 + i, 'F%d' % (i + 1), MAIN_X + 2 + i, ROW[0], 1.0, 1.0) for i in range(4)]
    + [(5 + i, 'F%d' % (i + 5), MAIN_X + 6.5 + i, ROW[0], 1.0, 1.0) for i in range(4)]
    + [(9 + i, 'F%d' % (i + 9), MAIN_X + 11 + i, ROW[0], 1.0, 1.0) for i in range(4)]
    + [(13, 'PrtSc', NAV_X, ROW[0], 1.0, 1.0), (14, 'ScrLk', NAV_X + 1, ROW[0], 1.0, 1.0),
       (15, 'Pause', NAV_X + 2, ROW[0], 1.0, 1.0)]
    # The keyboard's own lighting and game-mode keys sit above the number pad.
    + [(17, 'Light', PAD_X + 2, ROW[0], 1.0, 1.0), (16, 'Game', PAD_X + 3, ROW[0], 1.0, 1.0)]
)

NUMBER_ROW = _row([(21, '`', 1)] + [(22 + i, str((i + 1) % 10), 1) for i in range(10)]
                  + [(32, '-', 1), (33, '=', 1), (34, 'Backspace', 2)], MAIN_X, ROW[1])
TOP_ROW = _row([(42, 'Tab', 1.5)] + [(43 + i, c, 1) for i, c in enumerate('QWERTYUIOP[]')]
               + [(55, '\\', 1.5)], MAIN_X, ROW[2])
HOME_ROW = _row([(63, 'Caps', 1.75)] + [(64 + i, c, 1) for i, c in enumerate("ASDFGHJKL;'")]
                + [(75, 'Enter', 2.25)], MAIN_X, ROW[3])
SHIFT_ROW = _row([(84, 'Shift', 2.25)] + [(85 + i, c, 1) for i, c in enumerate('ZXCVBNM,./')]
                 + [(95, 'Shift', 2.75)], MAIN_X, ROW[4])
BOTTOM_ROW = _row([(105, 'Ctrl', 1.25), (106, 'Win', 1.25), (107, 'Alt', 1.25), (108, '', 6.25),
                   (109, 'Alt', 1.0), (125, 'Win', 1.0), (110, 'Fn', 1.0), (111, 'Menu', 1.0),
                   (112, 'Ctrl', 1.0)], MAIN_X, ROW[5])

NAVIGATION = [
    (35, 'Ins', NAV_X, ROW[1], 1, 1), (36, 'Home', NAV_X + 1, ROW[1], 1, 1), (37, 'PgUp', NAV_X + 2, ROW[1], 1, 1),
    (56, 'Del', NAV_X, ROW[2], 1, 1), (57, 'End', NAV_X + 1, ROW[2], 1, 1), (58, 'PgDn', NAV_X + 2, ROW[2], 1, 1),
    (96, '\u2191', NAV_X + 1, ROW[4], 1, 1),
    (113, '\u2190', NAV_X, ROW[5], 1, 1), (114, '\u2193', NAV_X + 1, ROW[5], 1, 1), (115, '\u2192', NAV_X + 2, ROW[5], 1, 1),
]

NUMBER_PAD = [
    (38, 'Num', PAD_X, ROW[1], 1, 1), (39, '/', PAD_X + 1, ROW[1], 1, 1), (40, '*', PAD_X + 2, ROW[1], 1, 1),
    (41, '-', PAD_X + 3, ROW[1], 1, 1),
    (59, '7', PAD_X, ROW[2], 1, 1), (60, '8', PAD_X + 1, ROW[2], 1, 1), (61, '9', PAD_X + 2, ROW[2], 1, 1),
    (119, '+', PAD_X + 3, ROW[2], 1, 2),
    (76, '4', PAD_X, ROW[3], 1, 1), (77, '5', PAD_X + 1, ROW[3], 1, 1), (78, '6', PAD_X + 2, ROW[3], 1, 1),
    (97, '1', PAD_X, ROW[4], 1, 1), (98, '2', PAD_X + 1, ROW[4], 1, 1), (99, '3', PAD_X + 2, ROW[4], 1, 1),
    (118, 'Enter', PAD_X + 3, ROW[4], 1, 2),
    (116, '0', PAD_X, ROW[5], 2, 1), (117, '.', PAD_X + 2, ROW[5], 1, 1),
]

VISIBLE_KEYS = MACRO_COLUMN + FUNCTION_ROW + NUMBER_ROW + TOP_ROW + HOME_ROW + SHIFT_ROW + BOTTOM_ROW + NAVIGATION + NUMBER_PAD

# Keys of other regional layouts (ISO, JIS) and table positions without a key: they keep
# their buttons, hidden, so every logical key has one.
REGIONAL_KEYS = [62, 79, 80, 81, 82, 83, 100, 101, 102, 103]
UNUSED_KEYS = [18, 19, 20, 104]

# Logical keys 126-169 carry no key code: they are the LEDs of the light bar along the front.
LIGHT_BAR = list(range(126, 170))

WIDTH_UNITS = PAD_X + 4.0
HEIGHT_UNITS = ROW[5] + 1.0
