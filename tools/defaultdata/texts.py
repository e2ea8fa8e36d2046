"""Language keys that the default data introduces, with their English and Simplified Chinese
texts. The data files carry only the keys; the GUI resolves them through its language files."""

TEXTS = {
    # lighting modes
    "light_mode_user_effect": ("User effect", "自定义特效"),
    "light_mode_user_effect_2": ("User effect 2", "自定义特效 2"),
    "light_mode_wave": ("Wave", "波浪"),
    "light_mode_narrow_wave": ("Narrow wave", "窄波浪"),
    "light_mode_snake": ("Snake", "蛇形"),
    "light_mode_spectrum": ("Spectrum", "光谱循环"),
    "light_mode_breathing": ("Breathing", "呼吸"),
    "light_mode_static": ("Static", "常亮"),
    "light_mode_reactive": ("Reactive", "按键触发"),
    "light_mode_ripple": ("Ripple", "涟漪"),
    "light_mode_row_ripple": ("Row ripple", "横向涟漪"),
    "light_mode_sparkle": ("Sparkle", "星光"),
    "light_mode_colour_cycle": ("Colour cycle", "色彩循环"),
    "light_mode_vertical_wave": ("Vertical wave", "纵向波浪"),
    "light_mode_bouncing_bar": ("Bouncing bar", "弹跳光条"),
    "light_mode_scan": ("Scan", "扫描"),
    "light_mode_twinkle": ("Twinkle", "繁星"),
    "light_mode_sweeping_bar": ("Sweeping bar", "扫动光条"),
    "light_mode_colour_wheel": ("Colour wheel", "色轮"),
    "light_mode_ring_wave": ("Ring wave", "环形波浪"),
    "light_mode_custom": ("Custom", "自定义"),
    "light_mode_music": ("Music", "音乐律动"),
    "light_mode_music_colour": ("Music colour", "音乐变色"),
    "light_mode_blink": ("Blink", "闪烁"),
    "light_mode_raindrops": ("Raindrops", "雨滴"),
    "light_mode_reactive_ripple": ("Reactive ripple", "触发涟漪"),
    "light_mode_breathing_four": ("Four-colour breathing", "四色呼吸"),
    "light_mode_blink_four": ("Four-colour blink", "四色闪烁"),
    "light_mode_off": ("Off", "关闭"),
    "light_mode_flowing_twinkle": ("Flowing twinkle", "流动繁星"),
    "light_mode_fill": ("Fill", "填充"),
    "light_mode_zone_chase": ("Zone chase", "区域追逐"),
    "light_mode_led_chase": ("Chase", "跑马灯"),
    "light_mode_pair_chase": ("Pair chase", "双灯追逐"),
    # lighting areas
    "light_area_keys": ("Keys", "按键"),
    "light_area_side": ("Side light", "侧灯"),
    "light_area_logo": ("Logo", "标志"),
    "light_area_wheel": ("Scroll wheel", "滚轮"),
    "light_area_edge": ("Edge light", "边框灯"),
    "light_area_left_ear": ("Left earcup", "左耳罩"),
    "light_area_right_ear": ("Right earcup", "右耳罩"),
    # custom lighting effects
    "light_effect_aurora": ("Aurora", "极光"),
    "light_effect_heartbeat": ("Heartbeat", "心跳"),
    "light_effect_police": ("Police lights", "警灯"),
    "light_effect_sunrise": ("Sunrise", "日出"),
    "light_effect_ocean": ("Ocean", "海洋"),
    "light_effect_fire": ("Fire", "火焰"),
    # mouse line correction
    "correct_line_off": ("Line correction off", "直线修正：关"),
    "correct_line_light": ("Light line correction", "直线修正：轻"),
    "correct_line_strong": ("Strong line correction", "直线修正：强"),
}


def language_keys_document():
    """The file the GUI's language files are merged from: key -> {"en", "zh_CN"}."""
    return {key: {"en": en, "zh_CN": zh} for key, (en, zh) in sorted(TEXTS.items())}


def require(key):
    """Every key written into a data file must have texts."""
    if key not in TEXTS:
        raise KeyError(f"language key without texts: {key}")
    return key
