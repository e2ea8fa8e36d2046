#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the normal build first (then its Debian
# package is made and checked), then the AddressSanitizer+UBSan and ThreadSanitizer builds of
# the layers without Qt, then every fuzz target for a short while on its seeds (fuzz/README.md).
# Warnings are errors.
#   --quick  the normal build only
#   --full   also the sanitizer builds of the Qt layers (window, panels, toolkit) and their tests
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
# The packages are installed now: the music test's private sound server must start.
export QXR470_REQUIRE_SOUND_SERVER=1

mode="${1:-}"
export QXR_WERROR="${QXR_WERROR:-ON}"

run() {
  local dir="$1"
  "$root/scripts/build.sh" "$dir"
  (cd "$dir" && ctest --output-on-failure -j "$(nproc)" --timeout 300)
}

asan() { ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run "$1"; }
tsan() { TSAN_OPTIONS="second_deadlock_stack=1" run "$1"; }

run "$root/build"
"$root/scripts/package.sh" "$root/build"
if [ "$mode" != "--quick" ]; then
  asan "$root/build-asan"
  tsan "$root/build-tsan"
  # The fuzz build's tests are its targets, each QXR_FUZZ_SECONDS on its seed corpus.
  run "$root/build-fuzz"
fi
if [ "$mode" = "--full" ]; then
  asan "$root/build-asan-gui"
  tsan "$root/build-tsan-gui"
fi
echo "All tests passed."
