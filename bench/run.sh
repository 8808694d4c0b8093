#!/usr/bin/env bash
# Times qelpro --export against gnuplot on the same tables, alternating runs, and prints the
# medians, the ratio and qelpro's peak memory. Not part of CI:
#   bash bench/run.sh [RUNS] [QELPRO]        (default 7 runs, build-data/src/shell/qelpro)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-7}"
qelpro="${2:-$root/build-data/src/shell/qelpro}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
command -v gnuplot >/dev/null || { echo "gnuplot is missing (apt-get install gnuplot-nox)"; exit 1; }

python3 "$root/bench/make_tables.py" "$work" 20 32767 L
python3 "$root/bench/make_tables.py" "$work" 5 12 S
export QT_QPA_PLATFORM=offscreen

elapsed() { # command... -> seconds and peak KB on one line
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>&1
    cat "$work/time"
}
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

for case in L S; do
    n=$([ "$case" = L ] && echo 20 || echo 5)
    : >"$work/q"; : >"$work/g"; : >"$work/m"
    for ((i = 0; i < runs; i++)); do
        read -r t m < <(elapsed "$qelpro" --export "$work/$case-qelpro.png" --size 1382x648 "$work/$case.tbx")
        echo "$t" >>"$work/q"; echo "$m" >>"$work/m"
        read -r t _ < <(elapsed gnuplot -e "data='$work/$case.dat'; out='$work/$case-gnuplot.png'; n=$n" "$root/bench/plot.gp")
        echo "$t" >>"$work/g"
    done
    q=$(median <"$work/q"); g=$(median <"$work/g"); m=$(median <"$work/m")
    printf '%s (%s): qelpro %.3f s, gnuplot %.3f s, ratio %.2f, qelpro peak %d MB\n' \
        "$case" "$([ "$case" = L ] && echo "20 x 32767" || echo "5 x 12")" "$q" "$g" \
        "$(awk -v a="$q" -v b="$g" 'BEGIN {print a / b}')" "$((m / 1024))"
    cp "$work/$case-qelpro.png" "$work/$case-gnuplot.png" "${BENCH_KEEP:-$work}/" 2>/dev/null || true
done
