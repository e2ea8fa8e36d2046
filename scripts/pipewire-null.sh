#!/usr/bin/env bash
# Runs a private PipeWire (with its pulse server and session manager) whose only output is a
# null one, for measuring the music lighting on PipeWire:
#   scripts/pipewire-null.sh start   prints the PULSE_SERVER value to give the music benchmark
#   QXR470_BENCH_PULSE_SERVER=<that> build/bench/music/bench_music
#   scripts/pipewire-null.sh stop
# Needs pipewire, pipewire-pulse, wireplumber and dbus (apt-get install --no-install-recommends).
set -euo pipefail
dir=/tmp/qxr470-pipewire
case "${1:-}" in
  start)
    for tool in pipewire pipewire-pulse wireplumber dbus-run-session; do
      command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
    done
    mkdir -p "$dir/run" "$dir/config/pipewire/pipewire.conf.d"
    chmod 700 "$dir/run"
    cat >"$dir/config/pipewire/pipewire.conf.d/null-output.conf" <<'CONF'
context.objects = [
  { factory = adapter
    args = {
      factory.name   = support.null-audio-sink
      node.name      = "qxr_null"
      media.class    = Audio/Sink
      audio.position = [ FL FR ]
      audio.rate     = 48000
    }
  }
]
CONF
    export XDG_RUNTIME_DIR="$dir/run" XDG_CONFIG_HOME="$dir/config" HOME="$dir"
    setsid dbus-run-session -- bash -c 'pipewire & sleep 0.5; wireplumber & pipewire-pulse & wait' \
      >"$dir/log" 2>&1 </dev/null &
    echo $! >"$dir/pid"
    for _ in $(seq 50); do
      [ -S "$dir/run/pulse/native" ] && { echo "unix:$dir/run/pulse/native"; exit 0; }
      sleep 0.1
    done
    echo "PipeWire did not start; see $dir/log" >&2
    exit 1
    ;;
  stop)
    [ -f "$dir/pid" ] && kill -- -"$(cat "$dir/pid")" 2>/dev/null || true
    rm -rf "$dir"
    ;;
  *)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
