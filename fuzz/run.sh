#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for a set time.
#   bash fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]     (default 600 s, all four targets)
# Corpora grow in build-fuzz/corpus/<target>; crashes land in build-fuzz/findings/<target>.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-600}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_table fuzz_legacy fuzz_legend fuzz_chartfile)
build="$root/build-fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DQEL_FUZZ=ON -DQEL_SANITIZE=ON \
    -DQEL_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "${targets[@]}" -j2

declare -A seeds=(
    [fuzz_table]="$root/tests/chartdoc/data"
    [fuzz_legacy]="$root/tests/chartdoc/data"
    [fuzz_legend]="$root/tests/settings/data"
    [fuzz_chartfile]="$root/resources"
)
declare -A dicts=([fuzz_table]="$root/fuzz/table.dict" [fuzz_legacy]="$root/fuzz/legacy.dict")

status=0
for t in "${targets[@]}"; do
    corpus="$build/corpus/$t"
    findings="$build/findings/$t"
    mkdir -p "$corpus" "$findings"
    args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536
          -artifact_prefix="$findings/" -print_final_stats=1)
    [ -n "${dicts[$t]:-}" ] && args+=(-dict="${dicts[$t]}")
    echo "== $t for ${seconds}s"
    if ! QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
        "$build/fuzz/$t" "${args[@]}" "$corpus" "${seeds[$t]}" 2>"$build/$t.log"; then
        echo "!! $t found a problem: see $build/$t.log and $findings"
        status=1
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb|cov:" "$build/$t.log" | tail -3
done
exit $status
