"""Factory key functions of the keyboard's 170 logical keys and the mouse's 10 buttons.

A key function is three bytes (type, d1, d2); profiles store it as type << 16 | d1 << 8 | d2.
"""

KEYBOARD_KEY_COUNT = 170

TYPE_NONE = 0x00
TYPE_MOUSE_BUTTON = 0x10
TYPE_DPI_STEP = 0x13
TYPE_DPI_SHIFT = 0x16
TYPE_KEY = 0x20
TYPE_SPECIAL = 0xA0
TYPE_M_KEY = 0xD0

MOD_LCTRL, MOD_LSHIFT, MOD_LALT, MOD_LGUI = 0x01, 0x02, 0x04, 0x08
MOD_RCTRL, MOD_RSHIFT, MOD_RALT, MOD_RGUI = 0x10, 0x20, 0x40, 0x80

SPECIAL_FN = 0x01
SPECIAL_GM = 0x1B
M_KEY_CODE = 0xA2

NO_FUNCTION = (TYPE_NONE, 0, 0)


def key(usage):
    return (TYPE_KEY, 0, usage)


def modifier(bit):
    return (TYPE_KEY, bit, 0)


def _usage_run(first_key, first_usage, count):
    return {first_key + i: key(first_usage + i) for i in range(count)}


def keyboard_default_codes():
    """List of 170 (type, d1, d2) tuples, indexed by logical key."""
    codes = {0: key(0x29)}
    codes.update(_usage_run(1, 0x3A, 12))          # F1-F12
    codes.update({13: key(0x46), 14: key(0x47), 15: key(0x48)})
    codes[16] = (TYPE_SPECIAL, SPECIAL_GM, 0)
    codes[17] = (TYPE_SPECIAL, 0x24, 0)
    codes[21] = key(0x35)
    codes.update(_usage_run(22, 0x1E, 10))          # 1-9, 0
    codes.update({32: key(0x2D), 33: key(0x2E), 34: key(0x2A), 35: key(0x49),
                  36: key(0x4A), 37: key(0x4B), 38: key(0x53), 39: key(0x54),
                  40: key(0x55), 41: key(0x56), 42: key(0x2B)})
    for k, usage in zip(range(43, 53), (0x14, 0x1A, 0x08, 0x15, 0x17, 0x1C, 0x18, 0x0C,
                                        0x12, 0x13)):
        codes[k] = key(usage)                       # Q-P
    codes.update({53: key(0x2F), 54: key(0x30), 55: key(0x31), 56: key(0x4C),
                  57: key(0x4D), 58: key(0x4E), 59: key(0x5F), 60: key(0x60),
                  61: key(0x61), 62: key(0x32), 63: key(0x39)})
    for k, usage in zip(range(64, 73), (0x04, 0x16, 0x07, 0x09, 0x0A, 0x0B, 0x0D, 0x0E,
                                        0x0F)):
        codes[k] = key(usage)                       # A-L
    codes.update({73: key(0x33), 74: key(0x34), 75: key(0x28), 76: key(0x5C),
                  77: key(0x5D), 78: key(0x5E), 79: key(0x8A), 80: key(0x8B),
                  81: key(0x90), 82: key(0x91), 83: key(0x88),
                  84: modifier(MOD_LSHIFT)})
    for k, usage in zip(range(85, 95), (0x1D, 0x1B, 0x06, 0x19, 0x05, 0x11, 0x10, 0x36,
                                        0x37, 0x38)):
        codes[k] = key(usage)                       # Z-/
    codes.update({95: modifier(MOD_RSHIFT), 96: key(0x52), 97: key(0x59),
                  98: key(0x5A), 99: key(0x5B), 100: key(0x87), 101: key(0x89),
                  102: key(0x64), 103: key(0x85),
                  105: modifier(MOD_LCTRL), 106: modifier(MOD_LGUI),
                  107: modifier(MOD_LALT), 108: key(0x2C), 109: modifier(MOD_RALT),
                  110: (TYPE_SPECIAL, SPECIAL_FN, 0), 111: key(0x65),
                  112: modifier(MOD_RCTRL), 113: key(0x50), 114: key(0x51),
                  115: key(0x4F), 116: key(0x62), 117: key(0x63), 118: key(0x58),
                  119: key(0x57)})
    for m in range(1, 6):
        codes[119 + m] = (TYPE_M_KEY, M_KEY_CODE, m)  # M1-M5
    codes[125] = modifier(MOD_RGUI)
    return [codes.get(k, NO_FUNCTION) for k in range(KEYBOARD_KEY_COUNT)]


def mouse_default_codes():
    """The mouse's 10 logical buttons."""
    return [
        (TYPE_MOUSE_BUTTON, 0x01, 0),   # left
        (TYPE_MOUSE_BUTTON, 0x02, 0),   # right
        (TYPE_MOUSE_BUTTON, 0x04, 0),   # middle
        (TYPE_MOUSE_BUTTON, 0x10, 0),   # forward
        (TYPE_MOUSE_BUTTON, 0x08, 0),   # back
        (TYPE_DPI_STEP, 1, 0),          # DPI up
        (TYPE_DPI_STEP, 2, 0),          # DPI down
        (TYPE_DPI_STEP, 3, 0),          # DPI cycle
        (TYPE_SPECIAL, SPECIAL_GM, 0),
        (TYPE_DPI_SHIFT, 0x90, 1),
    ]


def packed(code):
    t, d1, d2 = code
    return t << 16 | d1 << 8 | d2


def key_list(codes):
    """"KeyList" of a factory profile: every key carries its default function."""
    return [{"Assignment": packed(c), "DefaultAssignment": packed(c)} for c in codes]


# Logical keys of the keyboard by what is printed on them, for the custom colour sets.
KEY_W, KEY_A, KEY_S, KEY_D = 44, 64, 65, 66
KEY_UP, KEY_LEFT, KEY_DOWN, KEY_RIGHT = 96, 113, 114, 115
KEY_ESC = 0
KEYS_F1_F12 = range(1, 13)
