#!/usr/bin/env bash
# Builds and runs every test headless. --asan: a separate tree with AddressSanitizer and UBSan.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
build="$root/build"
args=()
if [ "${1:-}" = "--asan" ]; then
    build="$root/build-asan"
    args=(-DKAV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp"
fi
"$root/scripts/build.sh" "$build" "${args[@]}"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure --parallel "$(nproc)"
