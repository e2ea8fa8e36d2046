""""Language.config": the interface languages the settings window offers.

"Language_ID" is the value remembered in the user's settings; "Language_file" is the skin's
language text file. The Simplified Chinese entry stays first: the interface font is chosen by
the entry's position.
"""

LANGUAGES = [
    {"Language_ID": 2052, "Language_name": "zh_CN", "Language_file": "lan_cn.xml",
     "Language_text": "简体中文"},
    {"Language_ID": 1033, "Language_name": "en_US", "Language_file": "lan_en.xml",
     "Language_text": "English"},
]


def language_config():
    return {"Language": LANGUAGES}
