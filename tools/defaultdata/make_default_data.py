#!/usr/bin/env python3
"""Writes the program's default data files into DefaultData/.

    tools/defaultdata/make_default_data.py            # (re)write the files
    tools/defaultdata/make_default_data.py --check    # fail if a committed file is stale

The files are committed; run this after changing any table here and commit both.
"""

import argparse
import json
import pathlib
import sys

import language
import lighting
import profiles
import recoil
import texts

ROOT = pathlib.Path(__file__).resolve().parents[2]
OUT = ROOT / "DefaultData"

# One lighting-mode catalogue per model, keyed by the model folder name.
MODEL_LIGHT_CATALOGUES = {
    "keyboard": lambda: lighting.light_catalogue(lighting.KEYBOARD_MODES,
                                                 lighting.KEYBOARD_AREAS),
    "mouse": lambda: lighting.light_catalogue(lighting.MOUSE_MODES, lighting.MOUSE_AREAS),
    "MousePad": lambda: lighting.light_catalogue(lighting.PAD_MODES, lighting.PAD_AREAS,
                                                 variants=lighting.PAD_VARIANTS),
    "HD": lambda: lighting.light_catalogue(lighting.PAD_MODES, lighting.HEADSET_AREAS),
}


def documents():
    docs = {name: make() for name, make in profiles.PROFILES.items()}
    docs["default_light.json"] = {model: make()
                                  for model, make in MODEL_LIGHT_CATALOGUES.items()}
    docs["kelto_light.config"] = lighting.effect_catalogue()
    docs.update(lighting.effect_files())
    docs.update(recoil.scripts())
    docs["Language.config"] = language.language_config()
    # Last, so that it lists every key the documents above asked for.
    docs["language_keys.json"] = texts.language_keys_document()
    return docs


def render(doc):
    # The program writes its files indented by three spaces; keep the shipped ones alike.
    return json.dumps(doc, indent=3, ensure_ascii=False) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with the files on disk instead of writing")
    args = parser.parse_args()

    stale = []
    for name, doc in documents().items():
        path = OUT / name
        text = render(doc)
        if args.check:
            if not path.exists() or path.read_text(encoding="utf-8") != text:
                stale.append(name)
        else:
            path.write_text(text, encoding="utf-8")
    if stale:
        print("stale default data (run tools/defaultdata/make_default_data.py): "
              + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
