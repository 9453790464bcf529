#!/usr/bin/env bash
# Opening a 100 000-item pair: `kavtool stats` against `msgfmt --statistics` on the same
# content as a PO file, run alternately so that both see the same machine load.
#   bench/bench_stats.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
rounds="${2:-5}"
kavtool="$build/bin/kavtool"
[ -x "$kavtool" ] || { echo "bench_stats: build kavtool first ($kavtool)" >&2; exit 2; }
command -v msgfmt >/dev/null || { echo "bench_stats: msgfmt (gettext) is missing" >&2; exit 2; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$root/bench/gen_str_pair.py" "$work" 100000

now() { date +%s%N; }
best_tool=999999999999
best_msgfmt=999999999999
for _ in $(seq "$rounds"); do
    t0=$(now)
    "$kavtool" --home "$work" stats "$work/Language/Kavr_FRA.str" >/dev/null
    t1=$(now)
    msgfmt --statistics -o /dev/null "$work/Kavr_FRA.po" 2>/dev/null
    t2=$(now)
    (( t1 - t0 < best_tool )) && best_tool=$(( t1 - t0 ))
    (( t2 - t1 < best_msgfmt )) && best_msgfmt=$(( t2 - t1 ))
done
awk -v a="$best_tool" -v b="$best_msgfmt" 'BEGIN {
    printf "open 100000 items: kavtool stats %.1f ms, msgfmt --statistics %.1f ms, ratio %.2f\n",
        a / 1e6, b / 1e6, a / b }'
