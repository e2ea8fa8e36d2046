#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Idempotent: packages already present are skipped by apt. Run as root (or with sudo).
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config git python3
  libjsoncpp-dev libudev-dev libfmt-dev libcurl4-openssl-dev libssl-dev openssl libpulse-dev libasound2-dev libfontconfig-dev
  qt6-base-dev qt6-tools-dev libqt6opengl6-dev qt6-svg-dev qt6-l10n-tools
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth fonts-wqy-microhei fonts-dejavu-core
  # the Debian package: its dependencies, the udev rules folder, and the checks CI runs on it
  dpkg-dev file udev desktop-file-utils appstream lintian
  # a private sound server for the music lighting's end-to-end test and benchmark
  pulseaudio pulseaudio-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
