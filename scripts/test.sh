#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the normal build first, then the
# AddressSanitizer+UBSan and ThreadSanitizer builds. --quick runs the normal build only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

quick=0
[ "${1:-}" = "--quick" ] && quick=1

run() {
  local dir="$1"
  "$root/scripts/build.sh" "$dir"
  (cd "$dir" && ctest --output-on-failure -j "$(nproc)" --timeout 300)
}

run "$root/build"
if [ $quick -eq 0 ]; then
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run "$root/build-asan"
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" run "$root/build-tsan"
fi
echo "All tests passed."
