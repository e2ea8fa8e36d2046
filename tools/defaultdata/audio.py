"""Headset audio defaults: the audio settings and the twelve equaliser presets."""

BANDS = 10
EQ_FLAT = 5               # the preset whose gains are all 0
EQ_CUSTOM = 13

# Gain per band of presets 1-12; the headset applies exactly these on a preset choice.
EQ_PRESETS = {
    1: [7, 11, 2, -3, -1, 4, 9, 12, 9, 5],
    2: [7, 11, 6, -3, -11, -1, 6, 13, 6, 13],
    3: [10, 4, 0, -3, -4, -3, -2, -1, 0, 0],
    4: [2, 1, -2, -3, -5, -7, 0, 4, 9, 8],
    5: [0] * BANDS,
    6: [7, 14, -13, -6, -1, 8, 13, 7, 2, 6],
    7: [14, 10, 4, 0, -4, -3, -1, 1, 2, 3],
    8: [2, 1, -2, -3, -5, -1, 7, 11, 15, 13],
    9: [8, 2, -4, -8, 1, 3, 8, 11, 14, 16],
    10: [-3, 4, 10, 0, -11, 3, 9, 13, 6, 0],
    11: [18, 14, 8, 2, -3, -6, -1, 2, 5, 6],
    12: [2, 1, -2, -4, -8, 4, 12, 16, 18, 15],
}


def bands(gains):
    assert len(gains) == BANDS
    return [{"value": g} for g in gains]


def eq_presets():
    """"EQHzValueInfo": indexed by preset 1-12; slot 0 is never selected and stays flat."""
    return [bands([0] * BANDS)] + [bands(EQ_PRESETS[p]) for p in range(1, EQ_CUSTOM)]


def system_set_stages():
    return {"MagicEnable": 0, "MagicType": 1, "EqType": EQ_FLAT, "CustomEqSeletIndex": 0,
            "MicInSelect": 1, "MicInValue": 80, "MicMoniterSelect": 0,
            "MicMoniterValue": 50}
