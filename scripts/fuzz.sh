#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (tree build-fuzz/, ASan + UBSan) and runs
# each target in turn for SECONDS. Seeds come from the sample and test files; the growing corpora
# and any crash files stay in fuzz-work/ (not in git).
# Usage: scripts/fuzz.sh SECONDS [target...]   (targets: fuzz_str_file fuzz_color_field fuzz_rtf
#        fuzz_form_text fuzz_grid_text fuzz_strings; default all)
# Prints one summary line per target; exits 1 when a target found a crash, leak or hang.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
all=(fuzz_str_file fuzz_color_field fuzz_rtf fuzz_form_text fuzz_grid_text fuzz_strings)
if [ $# -lt 1 ] || ! [[ "$1" =~ ^[0-9]+$ ]]; then
    echo "usage: $0 SECONDS [target...]" >&2
    exit 2
fi
seconds="$1"
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")
build="$root/build-fuzz"
work="$root/fuzz-work"

"$root/scripts/install-deps.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
    generator=()
    command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" "${generator[@]}" -DKAV_FUZZ=ON \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
nice -n 10 cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"

# Pieces of about Lines lines of each file, so that mutations work on inputs of useful size.
split_into() {
    local dir="$1" lines="$2"
    shift 2
    local file
    for file in "$@"; do
        split -l "$lines" -d -a 3 "$file" "$dir/$(basename "$file")."
    done
}

# The colour fields of the sample files, one per seed, and a few written by hand.
color_seeds() {
    local dir="$1" n=0 field
    grep -aho '{[^}]*}' "$root"/data/Language/*.str "$root"/tests/data/str/*.str | sort -u |
        head -200 | while IFS= read -r field; do
        n=$((n + 1))
        printf '%s' "${field:1:${#field}-2}" >"$dir/field$n"
    done
    for field in "" 0 255 16777215 -1 '$FF' ' 0x00FF00' '+$7FFFFFFF' -2147483648 2147483647; do
        n=$((n + 1))
        printf '%s' "$field" >"$dir/hand$n"
    done
}

make_seeds() {
    local target="$1" dir="$2"
    rm -rf "$dir"
    mkdir -p "$dir"
    local strs=("$root"/data/Default/*.str "$root"/data/Language/*.str "$root"/tests/data/str/*.str)
    local resources=("$root"/tests/data/resource/*)
    case "$target" in
    fuzz_str_file)
        split_into "$dir" 40 "${strs[@]}"
        ;;
    fuzz_color_field) color_seeds "$dir" ;;
    fuzz_rtf)
        cp "$root"/tests/data/rtf/*.rtf "$dir/"
        split_into "$dir" 20 "$root"/tests/data/str/*.str
        ;;
    fuzz_form_text)
        cp "$root/data/grid/MainGrid.txt" "$dir/"
        split_into "$dir" 8 "$root/data/grid/MainGrid.txt"
        ;;
    fuzz_grid_text)
        split_into "$dir" 10 "$root/data/grid/MainGrid.txt" "${resources[@]}" "$root"/tests/data/str/*.str
        ;;
    fuzz_strings)
        split_into "$dir" 3 "${resources[@]}" "$root"/tests/data/str/*.str
        ;;
    esac
}

# "name: N execs, E exec/s, cov C, ft F, corp K (the inputs libFuzzer keeps), corpus dir ..."
summary() {
    local target="$1" log="$2" status="$3" found="$4"
    local execs rate last cov ft corpus
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    last=$(grep -a -E '^#[0-9]+.*cov: ' "$log" | tail -1 || true)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
    local kept
    kept=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$last")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
    corpus=$(find "$work/$target/corpus" -type f | wc -l)
    local bytes
    bytes=$(find "$work/$target/corpus" -type f -printf '%s\n' | awk '{ n += $1 } END { print n + 0 }')
    local result="ok"
    [ "$status" -eq 0 ] || result="FOUND (exit $status) ${found:-see $log}"
    printf '%s: %s execs, %s exec/s, cov %s, ft %s, corp %s, corpus dir %s files (%s bytes), %s\n' \
        "$target" "${execs:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}" "${kept:-?}" "$corpus" "$bytes" \
        "$result"
}

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
failed=0
summaries=()
for target in "${targets[@]}"; do
    dir="$work/$target"
    mkdir -p "$dir/corpus" "$dir/found"
    make_seeds "$target" "$dir/seeds"
    log="$dir/last.log"
    echo "== $target for ${seconds}s (log $log)"
    status=0
    (cd "$dir" && nice -n 10 "$build/tests/fuzz/$target" corpus seeds \
        -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$dir/found/") >"$log" 2>&1 || status=$?
    found=""
    if [ "$status" -ne 0 ]; then
        failed=1
        found=$(grep -a -o 'Test unit written to .*' "$log" | tail -1 || true)
        tail -40 "$log"
    fi
    summaries+=("$(summary "$target" "$log" "$status" "$found")")
    echo "${summaries[-1]}"
done
echo "== summary"
printf '%s\n' "${summaries[@]}"
exit "$failed"
