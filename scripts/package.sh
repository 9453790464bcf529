#!/usr/bin/env bash
# Builds the Debian package: a release tree (build-package/ unless BUILD_DIR is given) for the
# /usr prefix, only the programs and their data, packed by cpack. Prints the package's path.
# Usage: scripts/package.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-package}"
"$root/scripts/install-deps.sh"
generator=()
if command -v ninja >/dev/null 2>&1 && [ ! -f "$build/Makefile" ]; then
    generator=(-G Ninja)
fi
# The tests and benchmarks are left out of this tree; the install step must not wait for them.
cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX=/usr -DKAV_TESTS=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target KavrinoTranslationTool kavtool kav_data
(cd "$build" && cpack -G DEB -B "$build/package" >/dev/null)
ls "$build"/package/*.deb
