#!/usr/bin/env bash
# Regenerates the README's screenshots (docs/screenshots/): the main window with each device
# page, on the emulated devices, drawn offscreen in English.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" --target qxr470-screenshots
english=1  # the position of en_US in DefaultData/Language.config
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR="$runtime" XDG_CONFIG_HOME="$runtime/config" QT_QPA_PLATFORM=offscreen \
  QXR470_SOURCE_DIR="$root" "$root/build/app/qxr470-screenshots" "$root/docs/screenshots" "$english"
