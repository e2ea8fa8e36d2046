#!/usr/bin/env bash
# The program installed into a prefix (cmake --install) runs from there on the emulator: it finds
# its skin and default data under <prefix>/share/qxr470, answers its command line without a
# display, hands out its device table and ends on --quit. Usage: BUILD_DIR EMULATOR_PROGRAM
set -euo pipefail
build=$1
emulator=$2
tmp=$(mktemp -d)
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  exec 3>&- 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; [ -f "$tmp/app.err" ] && sed 's/^/  app: /' "$tmp/app.err" >&2; exit 1; }

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" > "$tmp/install.log" || fail "cmake --install"

# A private world: no running program of the user, no source tree to fall back on.
mkdir -m 700 "$tmp/rt"
export XDG_RUNTIME_DIR=$tmp/rt XDG_CONFIG_HOME=$tmp/config QXR470_DATA_DIR=$tmp/data QT_QPA_PLATFORM=offscreen
unset QXR470_SOURCE_DIR QXR470_EMULATOR_DIR DISPLAY WAYLAND_DISPLAY
bin=$prefix/bin

# What the package puts beside the programs.
for f in share/qxr470/skin/res.xml share/qxr470/DefaultData/keyboard.Json \
         share/applications/org.qxr470.qxr470.desktop share/metainfo/org.qxr470.qxr470.metainfo.xml \
         share/icons/hicolor/scalable/apps/org.qxr470.qxr470.svg lib/udev/rules.d/70-qxr470.rules; do
  [ -f "$prefix/$f" ] || fail "$f not installed"
done
grep -q 'ATTRS{idVendor}=="320f", ATTRS{idProduct}=="5055", TAG+="uaccess"' "$prefix/lib/udev/rules.d/70-qxr470.rules" \
  || fail "no keyboard rule"
! grep -q '"0000"' "$prefix/lib/udev/rules.d/70-qxr470.rules" || fail "a rule for id 0000"

# Without a display and without a running program.
QT_QPA_PLATFORM=xcb "$bin/qxr470" --help | grep -q -- '--quit' || fail "--help"
[ "$(QT_QPA_PLATFORM=xcb "$bin/qxr470" --version)" = "qxr470 $("$bin/qxr470" --version | cut -d' ' -f2)" ] || fail "--version"
"$bin/qxr470" --version | grep -Eq '^qxr470 [0-9]+\.[0-9]+\.[0-9]+$' || fail "--version text"
set +e
QT_QPA_PLATFORM=xcb "$bin/qxr470" --quit 2> "$tmp/quit.err"; code=$?
"$bin/qxr470ctl" device-table 2> "$tmp/ctl.err"; ctl_code=$?
set -e
[ "$code" = 1 ] && grep -q "not running" "$tmp/quit.err" || fail "--quit without a program: $code"
[ "$ctl_code" = 1 ] && grep -q "not running" "$tmp/ctl.err" || fail "device-table without a program: $ctl_code"

# The emulated keyboard, then the installed program on it.
mkdir "$tmp/emu"
exec 3> >("$emulator" --dir "$tmp/emu" keyboard > "$tmp/emu.log" 2>&1)
for _ in $(seq 100); do [ "$(ls "$tmp/emu"/*.json 2>/dev/null | wc -l)" -ge 2 ] && break; sleep 0.1; done
QXR470_EMULATOR_DIR=$tmp/emu QXR470_DEBUG=1 "$bin/qxr470" 2> "$tmp/app.err" &
app_pid=$!

# Connected: the keyboard's profile was made from the installed default profile.
profile=""
for _ in $(seq 200); do
  profile=$(grep -l '"LightInfo"' "$tmp/data/keyboard/"*.Json 2>/dev/null | head -1 || true)
  [ -n "$profile" ] && break
  kill -0 "$app_pid" 2>/dev/null || fail "the program ended early"
  sleep 0.1
done
[ -n "$profile" ] || fail "no keyboard profile made"
grep -q "^program data $prefix/share/qxr470/\$" "$tmp/app.err" || fail "program data not taken from the prefix"

"$bin/qxr470ctl" device-table > "$tmp/table.txt" || fail "device-table"
grep -q "320f:5055  kind 1 keyboard" "$tmp/table.txt" || fail "device table: $(cat "$tmp/table.txt")"

"$bin/qxr470" --quit || fail "--quit"
code=0
wait "$app_pid" || code=$?
app_pid=""
[ "$code" = 0 ] || fail "the program ended with $code"
echo "installed program: ok"
