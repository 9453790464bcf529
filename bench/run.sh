#!/usr/bin/env bash
# The scale suite: builds what it needs, generates the 10 000-item and the 100 000-item pairs and
# prints one line per case and size, each a ratio of two commands measured side by side in this
# run (medians of alternating repetitions), then how each case grows from one size to the other.
# Never part of ctest.
#   bench/run.sh [--build DIR] [--rounds N] [--items N]
# DIR defaults to build/ (RelWithDebInfo, as ./test.sh makes it); a DIR without a CMake cache is
# configured as a Release build of its own.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
rounds=5
items=100000
while [ $# -gt 0 ]; do
    case "$1" in
    --build) build="$2"; shift 2 ;;
    --rounds) rounds="$2"; shift 2 ;;
    --items) items="$2"; shift 2 ;;
    *) echo "usage: bench/run.sh [--build DIR] [--rounds N] [--items N]" >&2; exit 2 ;;
    esac
done

"$root/scripts/install-deps.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
    generator=()
    command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
    cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --parallel "$(nproc)" \
    --target kavtool KavrinoTranslationTool bench_grid_paint bench_undo \
    bench_open_replace bench_window >/dev/null
# The peers the window is compared with; CI never needs them.
missing=()
[ -x /usr/lib/qt6/bin/linguist ] || missing+=(linguist-qt6)
[ -x /usr/lib/qt6/bin/lconvert ] || missing+=(qt6-l10n-tools)
command -v poedit >/dev/null 2>&1 || missing+=(poedit)
command -v Xvfb >/dev/null 2>&1 || missing+=(xvfb)
if [ ${#missing[@]} -gt 0 ]; then
    sudo_=()
    [ "$(id -u)" -eq 0 ] || sudo_=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo_[@]}" apt-get install -y -q "${missing[@]}" >/dev/null ||
        echo "bench: could not install ${missing[*]}; the window is not compared with them" >&2
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
small=$((items / 10))
python3 "$root/bench/gen_str_pair.py" "$work/small" "$small"
python3 "$root/bench/gen_str_pair.py" "$work/large" "$items"
python3 "$root/bench/scale_suite.py" --bin "$build/bin" --bench "$build/bench" \
    --pair "$work/small" --pair "$work/large" --rounds "$rounds"
