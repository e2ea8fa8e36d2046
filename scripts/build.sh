#!/usr/bin/env bash
# Configures (once) and builds in one shared build folder. Builds are serialised with a lock
# so that several shells never run two compilers at once on this 2-core machine.
# Usage: scripts/build.sh [BUILD_DIR] [--target T ...]   (BUILD_DIR defaults to build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir="$root/build"
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then dir="$1"; shift; fi
extra=()
# Sanitizer builds cover the layers without Qt; a "-gui" suffix adds the Qt layers and their tests.
case "$(basename "$dir")" in
  build-asan) extra+=(-DQXR_ASAN=ON -DQXR_BENCH=OFF -DQXR_GUI=OFF) ;;
  build-tsan) extra+=(-DQXR_TSAN=ON -DQXR_BENCH=OFF -DQXR_GUI=OFF) ;;
  build-asan-gui) extra+=(-DQXR_ASAN=ON -DQXR_BENCH=OFF) ;;
  build-tsan-gui) extra+=(-DQXR_TSAN=ON -DQXR_BENCH=OFF) ;;
  # libFuzzer targets (fuzz/): clang, without Qt
  build-fuzz) extra+=(-DQXR_FUZZ=ON -DQXR_BENCH=OFF -DQXR_GUI=OFF -DCMAKE_CXX_COMPILER=clang++) ;;
esac
# QXR_WERROR=ON (CI) makes warnings in the project's own code errors, also in a folder
# configured earlier without it.
if [ -n "${QXR_WERROR:-}" ]; then extra+=(-DQXR_WERROR="$QXR_WERROR"); fi
# Let clones in other folders (CI) reuse the compiler cache.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
exec 9>"/tmp/qxr470-build.lock"
flock 9
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$root" -B "$dir" -G Ninja "${extra[@]}" ${QXR_CMAKE_ARGS:-}
elif [ -n "${QXR_WERROR:-}" ]; then
  cmake "$dir" -DQXR_WERROR="$QXR_WERROR" >/dev/null
fi
cmake --build "$dir" -j "$(nproc)" "$@"
