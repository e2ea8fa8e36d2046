#!/usr/bin/env bash
# Builds the Debian package from an existing build folder (nothing is built twice: cpack installs
# what is there) and checks it as CI does: the desktop entry, the AppStream metainfo, and lintian
# without errors. Usage: scripts/package.sh [BUILD_DIR]   (defaults to build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="${1:-$root/build}"
"$root/scripts/build.sh" "$dir"
(cd "$dir" && cpack -G DEB > cpack.log) || { cat "$dir/cpack.log"; exit 1; }
deb=$(ls -t "$dir"/qxr470_*.deb | head -1)
desktop-file-validate "$root/packaging/org.qxr470.qxr470.desktop"
appstreamcli validate --no-net "$dir/packaging/org.qxr470.qxr470.metainfo.xml"
# lintian fails on errors only; its warnings are printed for whoever reads the log.
lintian --tag-display-limit 0 --fail-on error "$deb"
echo "Package checked: $deb"
