"""Lighting defaults: mode catalogues, lighting areas, the custom-effect catalogue and its step
files, the factory light records and the keyboard's custom colour sets."""

import colorsys

import keycodes
import keygrid
from texts import require

BRIGHTNESS_MAX = 4
SPEED_MAX = 4
SPEED_MEDIUM = 2
FX_FORWARD = 1

# Mode index -> (language key, offered). The device mode number is the mode index.
KEYBOARD_MODES = [
    ("light_mode_user_effect", True),        # 0: plays custom effect 0
    ("light_mode_wave", True),               # 1
    ("light_mode_narrow_wave", True),        # 2
    ("light_mode_snake", True),              # 3
    ("light_mode_spectrum", True),           # 4
    ("light_mode_breathing", True),          # 5
    ("light_mode_static", True),             # 6
    ("light_mode_reactive", True),           # 7
    ("light_mode_ripple", True),             # 8
    ("light_mode_row_ripple", True),         # 9
    ("light_mode_sparkle", True),            # 10
    ("light_mode_colour_cycle", True),       # 11
    ("light_mode_vertical_wave", True),      # 12
    ("light_mode_bouncing_bar", True),       # 13
    ("light_mode_scan", True),               # 14
    ("light_mode_twinkle", True),            # 15
    ("light_mode_sweeping_bar", True),       # 16
    ("light_mode_colour_wheel", True),       # 17
    ("light_mode_ring_wave", True),          # 18
    # 19 would play custom effect 19, which the catalogue does not have: not offered.
    ("light_mode_user_effect_2", False),     # 19
    ("light_mode_custom", True),             # 20
    ("light_mode_music", True),              # 21
    ("light_mode_music_colour", True),       # 22
    ("light_mode_blink", True),              # 23
    ("light_mode_raindrops", True),          # 24
    ("light_mode_reactive_ripple", True),    # 25
    ("light_mode_breathing_four", True),     # 26
    ("light_mode_blink_four", True),         # 27
    ("light_mode_off", True),                # 28
    ("light_mode_flowing_twinkle", True),    # 29
    ("light_mode_fill", True),               # 30
]

MOUSE_MODES = [
    ("light_mode_wave", True),               # 0
    ("light_mode_spectrum", True),           # 1
    ("light_mode_breathing", True),          # 2
    ("light_mode_static", True),             # 3
    ("light_mode_blink", True),              # 4
    ("light_mode_zone_chase", True),         # 5
    ("light_mode_breathing_four", True),     # 6
    ("light_mode_blink_four", True),         # 7
    ("light_mode_off", True),                # 8
]

# Mouse pad and headset share one mode set.
PAD_MODES = [
    ("light_mode_wave", True),               # 0
    ("light_mode_spectrum", True),           # 1
    ("light_mode_breathing", True),          # 2
    ("light_mode_static", True),             # 3
    ("light_mode_blink", True),              # 4
    ("light_mode_user_effect", True),        # 5: plays custom effect 5
    ("light_mode_led_chase", True),          # 6
    ("light_mode_pair_chase", True),         # 7
    ("light_mode_off", True),                # 8
]

KEYBOARD_AREAS = ["light_area_keys", "light_area_side"]
MOUSE_AREAS = ["light_area_logo", "light_area_wheel"]
PAD_AREAS = ["light_area_edge"]
HEADSET_AREAS = ["light_area_left_ear", "light_area_right_ear"]

# LEDs per model, as the device model table gives them.
MOUSE_LEDS = 6
PAD_LEDS = 15
HEADSET_LEDS = 13

# The mouse pad comes in two variants (hard and soft surface) with the same lighting.
PAD_VARIANTS = 2


def mode_row(modes):
    return [{"LightName": require(name), "visible": offered, "value": index}
            for index, (name, offered) in enumerate(modes)]


def area_row(areas):
    return [{"LightName": require(name)} for name in areas]


def light_catalogue(modes, areas, variants=1):
    """One model's "DefaultLightName"/"AreaLightName", one row per variant."""
    return {"DefaultLightName": [mode_row(modes) for _ in range(variants)],
            "AreaLightName": [area_row(areas) for _ in range(variants)]}


# --- custom effects -------------------------------------------------------------------------

# Step types of the lighting program player.
STEP_BREATHING = 0
STEP_STATIC = 1
STEP_BLINK = 2
STEP_WAVE = 4
STEP_SPECTRUM = 5


def step(kind, rgb, time_ms, level=BRIGHTNESS_MAX, speed=SPEED_MEDIUM, forward=True,
         multicolour=False):
    r, g, b = rgb
    return {"LEDREGMode": kind, "LEDBrightness": level, "LEDSpeed": speed,
            "LEDDirection": 1 if forward else 0, "LEDMultiColor": 1 if multicolour else 0,
            "red": r, "green": g, "blue": b, "Time": time_ms, "Cyle": 1}


BLACK = (0, 0, 0)
RED = (255, 0, 0)
BLUE = (0, 40, 255)


def _police():
    flash, gap = 250, 100
    steps = []
    for colour in (RED, RED, BLUE, BLUE):
        steps.append(step(STEP_STATIC, colour, flash, speed=SPEED_MAX))
        steps.append(step(STEP_STATIC, BLACK, gap, level=0, speed=SPEED_MAX))
    return steps


# A flicker that does not repeat visibly: colour, duration in ms, brightness level.
_FLAMES = [
    ((255, 40, 0), 180, 4), ((255, 90, 0), 120, 3), ((255, 20, 0), 200, 4),
    ((255, 140, 0), 90, 2), ((200, 30, 0), 160, 3), ((255, 70, 0), 140, 4),
    ((255, 110, 0), 110, 3), ((230, 25, 0), 230, 4), ((255, 60, 0), 100, 2),
    ((255, 150, 10), 80, 3), ((255, 35, 0), 170, 4), ((210, 50, 0), 150, 3),
]

# Catalogue order matters: a device in a mode that plays the lighting program plays the
# effect at the position of its mode index (keyboard mode 0 -> "aurora", pad and headset
# mode 5 -> "ocean").
EFFECTS = [
    ("light_effect_aurora", "fx_aurora", [
        step(STEP_WAVE, (0, 255, 140), 8000, speed=1, multicolour=True),
        step(STEP_BREATHING, (0, 255, 120), 4000),
        step(STEP_BREATHING, (0, 200, 255), 4000),
        step(STEP_WAVE, (0, 255, 160), 6000, speed=1, forward=False),
    ]),
    ("light_effect_heartbeat", "fx_heartbeat", [
        step(STEP_BREATHING, RED, 1200, speed=SPEED_MAX),
        step(STEP_STATIC, RED, 400, level=1),
        step(STEP_BREATHING, RED, 1200, speed=SPEED_MAX),
        step(STEP_STATIC, BLACK, 1200, level=0),
    ]),
    ("light_effect_police", "fx_police", _police()),
    ("light_effect_sunrise", "fx_sunrise", [
        step(STEP_STATIC, (255, 60, 0), 2000, level=1),
        step(STEP_STATIC, (255, 100, 0), 2000, level=2),
        step(STEP_STATIC, (255, 160, 40), 2000, level=3),
        step(STEP_STATIC, (255, 220, 150), 3000),
        step(STEP_BREATHING, (255, 220, 150), 6000, speed=0),
    ]),
    ("light_effect_fire", "fx_fire", [
        step(STEP_STATIC, rgb, ms, level=level, speed=SPEED_MAX)
        for rgb, ms, level in _FLAMES
    ]),
    ("light_effect_ocean", "fx_ocean", [
        step(STEP_WAVE, (0, 90, 255), 6000, speed=1),
        step(STEP_BREATHING, (0, 160, 255), 5000, speed=1),
        step(STEP_WAVE, (0, 220, 200), 6000, speed=1, forward=False),
        step(STEP_BREATHING, (0, 40, 160), 4000, level=3, speed=0),
    ]),
]

EFFECT_FILE_SUFFIX = ".light"


def effect_catalogue():
    """"kelto_light.config": the same effect list for every variant row."""
    row = [{"LightName": require(name), "Guid": guid} for name, guid, _ in EFFECTS]
    return {"LightInfo": [row for _ in range(PAD_VARIANTS)]}


def effect_files():
    return {guid + EFFECT_FILE_SUFFIX: {"LEDEffectList": steps} for _, guid, steps in EFFECTS}


# --- light records --------------------------------------------------------------------------

def light_info(mode, rgb, multicolour=True, level=BRIGHTNESS_MAX):
    r, g, b = rgb
    return {"SelectItem": mode, "Light": level, "Speed": SPEED_MEDIUM,
            "Fx": FX_FORWARD, "MultiColor": 1 if multicolour else 0,
            "Red": r, "Green": g, "Blue": b,
            "ZZCCLedMode": 0, "CustomGroup": 0, "OldLedmode": mode}


def light_list(count, info):
    """Per-LED records that start every LED on the device's own default lighting."""
    led = {"LEDREGMode": info["SelectItem"], "LEDBrightness": info["Light"],
           "LEDSpeed": info["Speed"], "LEDDirection": info["Fx"],
           "LEDMultiColor": info["MultiColor"],
           "red": info["Red"], "green": info["Green"], "blue": info["Blue"]}
    return [dict(led) for _ in range(count)]


# --- keyboard custom colour sets ------------------------------------------------------------

LIT = 255
OFF = {"Red": 0, "Green": 0, "Blue": 0, "Alpha": 0}


def colour(rgb):
    r, g, b = rgb
    return {"Red": r, "Green": g, "Blue": b, "Alpha": LIT}


def _hue(h):
    r, g, b = colorsys.hsv_to_rgb(h % 1.0, 1.0, 1.0)
    return round(r * 255), round(g * 255), round(b * 255)


def _gaming_set():
    base, highlight, function = (0, 60, 160), (255, 0, 0), (255, 150, 0)
    keys = {k: base for _, _, k in keygrid.cells()}
    for k in (keycodes.KEY_W, keycodes.KEY_A, keycodes.KEY_S, keycodes.KEY_D,
              keycodes.KEY_UP, keycodes.KEY_LEFT, keycodes.KEY_DOWN, keycodes.KEY_RIGHT):
        keys[k] = highlight
    for k in (keycodes.KEY_ESC, *keycodes.KEYS_F1_F12):
        keys[k] = function
    return keys


def _rainbow_set():
    return {k: _hue(c / keygrid.COLUMNS) for c, _, k in keygrid.cells()}


def _sunset_set():
    top, bottom = (255, 40, 0), (120, 0, 255)
    last = keygrid.ROWS - 1

    def blend(r):
        return tuple(round(t + (b - t) * r / last) for t, b in zip(top, bottom))
    return {k: blend(r) for _, r, k in keygrid.cells()}


def _white_set():
    return {k: (255, 255, 255) for _, _, k in keygrid.cells()}


CUSTOM_SETS = [_gaming_set, _rainbow_set, _sunset_set, _white_set]


def custom_light_mode():
    groups = []
    for make in CUSTOM_SETS:
        keys = make()
        groups.append([colour(keys[k]) if k in keys else dict(OFF)
                       for k in range(keycodes.KEYBOARD_KEY_COUNT)])
    return {"CustomLightModeGroupIndex": 0, "LightColorInfo": groups}
