"""The four factory profiles: "Device"[0] carries every member its device kind reads.

Lighting, polling rate and DPI stages match what the devices hold when they leave the factory,
so that a first connection does not change a device behind the user's back.
"""

import audio
import keycodes
import lighting
from texts import require

DEFAULT_NAME = "default"

# Keyboard system settings.
REPEAT_RATE = 31          # fastest step of the 0-31 repeat-rate scale
REPEAT_DELAY = 1          # 500 ms (250 ms per step, from 250)
POLLING_OPTION = 3        # the polling-rate option the devices leave the factory with

# Mouse DPI: stage values are slider units of DPI_STEP DPI each.
DPI_STEP = 50
DPI_STAGES = [800, 1600, 3200, 6400, 12000]
DPI_COLOURS = [(255, 0, 0), (0, 255, 0), (0, 80, 255), (255, 200, 0), (200, 0, 255)]
DPI_ACTIVE_STAGE = 1      # 1600 DPI

# Mouse desktop settings, as the page's sliders and checks hold them.
DOUBLE_CLICK = 5          # of 1-10
POINTER_SPEED = 10        # of 1-20
POINTER_PRECISION = 1
SCROLL_PAGE = 0
WHEEL_LINES = 3

# Line correction presets; the selected one goes to the mouse.
CORRECTIONS = [
    ("correct_line_off", 0, 0, 1),
    ("correct_line_light", 4, 16, 0),
    ("correct_line_strong", 8, 64, 0),
]


def profile(device):
    return {"profilename": DEFAULT_NAME, "profileUUID": DEFAULT_NAME, "Device": [device]}


def keyboard():
    info = lighting.light_info(mode=1, rgb=(255, 0, 0))
    return profile({
        "LightInfo": info,
        "AudioLightInfo": {"AudioMode": 0, "BkColorR": 0, "BkColorG": 0, "BkColorB": 40,
                           "FgColorR": 0, "FgColorG": 255, "FgColorB": 255,
                           "7ColorFlags": 1, "ColorTypeFlags": 1},
        "KeyList": keycodes.key_list(keycodes.keyboard_default_codes()),
        "SystemStages": {"Repeat": REPEAT_RATE, "RepeatDelay": REPEAT_DELAY, "Key6Flag": 0,
                         "PollingRate": POLLING_OPTION, "WFlag": 0, "WinFlag": 0},
        "CustomLightMode": lighting.custom_light_mode(),
    })


def dpi_stage(dpi, rgb):
    raw = dpi // DPI_STEP
    r, g, b = rgb
    return {"StageActive": 1, "StageXY": 0, "StageDPIX": raw, "StageDPIY": raw,
            "StageColorR": r, "StageColorG": g, "StageColorB": b}


def mouse():
    info = lighting.light_info(mode=0, rgb=(0, 255, 0))
    return profile({
        "LightInfo": info,
        "LightList": lighting.light_list(lighting.MOUSE_LEDS, info),
        "KeyList": keycodes.key_list(keycodes.mouse_default_codes()),
        "SystemStages": {"DoubleClickTime": DOUBLE_CLICK, "MouseSpeed": POINTER_SPEED,
                         "PointerPrecision": POINTER_PRECISION, "ScorllPage": SCROLL_PAGE,
                         "WheelScorlllinse": WHEEL_LINES},
        "ReportStages": {"StageActive": POLLING_OPTION},
        "DPIStages": {"StageActive": DPI_ACTIVE_STAGE,
                      "StageDPIs": [dpi_stage(d, c) for d, c in zip(DPI_STAGES, DPI_COLOURS)]},
        "CorrectInfo": [{"CorrectName": require(name), "CorrectPixThresh": pix,
                         "CorrectMinSq": sq, "CorrectSelect": sel}
                        for name, pix, sq, sel in CORRECTIONS],
    })


def mouse_pad():
    info = lighting.light_info(mode=1, rgb=(0, 0, 255))
    return profile({"LightInfo": info,
                    "LightList": lighting.light_list(lighting.PAD_LEDS, info)})


def headset():
    info = lighting.light_info(mode=2, rgb=(255, 0, 0), level=3)
    return profile({
        "LightInfo": info,
        "LightList": lighting.light_list(lighting.HEADSET_LEDS, info),
        "SystemSetStages": audio.system_set_stages(),
        "EQHzValueInfo": audio.eq_presets(),
        "CustomEQNameInfo": [],
        "CustomEQHzValueInfo": [],
    })


PROFILES = {
    "keyboard.Json": keyboard,
    "mouse.Json": mouse,
    "MousePad.Json": mouse_pad,
    "HD.Json": headset,
}
