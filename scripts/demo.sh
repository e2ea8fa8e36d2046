#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program on the built-in emulated devices.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
bin="$root/build"
if [ -x "$bin/app/qxr470" ]; then
  exec "$bin/app/qxr470" --demo "$@"
fi
# Until the window exists: serve the four emulated devices and list what the program finds.
dir=$(mktemp -d)
trap 'echo quit >&3 2>/dev/null || true; rm -rf "$dir"' EXIT
exec 3> >("$bin/emulator/qxr470-emu" --dir "$dir" keyboard mouse pad headset)
for _ in $(seq 50); do [ "$(ls "$dir"/*.json 2>/dev/null | wc -l)" -ge 7 ] && break; sleep 0.1; done
"$bin/tools/qxr470ctl/qxr470ctl" --emulator "$dir" list
for kind in keyboard mouse pad headset; do "$bin/tools/qxr470ctl/qxr470ctl" --emulator "$dir" info "$kind"; done
