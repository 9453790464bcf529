#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs what is missing, configures and builds incrementally.
# Usage: scripts/build.sh BUILD_DIR [extra cmake arguments...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$1"
shift
"$root/scripts/install-deps.sh"
launcher=()
# ccache keeps compiled objects between builds, also between clones of the repository: paths
# below the root are taken as relative, so a fresh clone reuses what an earlier one compiled.
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR="$root"
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
generator=()
if command -v ninja >/dev/null 2>&1 && [ ! -f "$build/Makefile" ]; then
    generator=(-G Ninja)
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" "${generator[@]}" "${launcher[@]}" "$@" >/dev/null
else
    cmake "$build" "$@" >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)"
