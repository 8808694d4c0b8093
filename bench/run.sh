#!/usr/bin/env bash
# The benchmark suite: every figure a user waits for, side by side with gnuplot where it does
# the same job, in one table (figure, ours, anchor, ratio, target, met?). Not part of CI.
#   bash bench/run.sh [RUNS] [BUILD_DIR]     (default 7 runs, build/)
# BUILD_DIR is a release build configured with -DQEL_BENCH=ON (bench/README.md).
# BENCH_DATA=DIR keeps the generated tables between runs (the largest takes a minute to write);
# BENCH_KEEP=DIR keeps the pictures of the big table from both programs for a look.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs="${1:-7}"
build="$(cd "${2:-$root/build}" && pwd)"
qelpro="$build/src/shell/qelpro"
bench="$build/bench/qel_bench"
for f in "$qelpro" "$bench"; do
    [ -x "$f" ] || { echo "missing $f: configure with -DQEL_BENCH=ON and build" >&2; exit 1; }
done
command -v gnuplot >/dev/null || { echo "gnuplot is missing (apt-get install gnuplot-nox)" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "Xvfb is missing (apt-get install xvfb)" >&2; exit 1; }

work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
data="${BENCH_DATA:-$work/data}"
mkdir -p "$data"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# The tables: 20 random walks of 32767 points, 5 of 12, one series of 32767 and the largest
# table accepted (488 x 32767 = 16 million cells, X shared).
[ -f "$data/L.tbx" ] || python3 "$root/bench/make_tables.py" "$data" 20 32767 L
[ -f "$data/S.tbx" ] || python3 "$root/bench/make_tables.py" "$data" 5 12 S
[ -f "$data/R.tbx" ] || python3 "$root/bench/make_tables.py" "$data" 1 32767 R
[ -f "$data/H.tbx" ] || python3 "$root/bench/make_tables.py" "$data" 488 32767 H 1 --common-x

median() { sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
# One whole process: wall seconds, CPU seconds (user + system) and peak resident KiB.
measure() {
    /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" >/dev/null 2>&1 || true
    awk '{printf "%s %.3f %s\n", $1, $2 + $3, $4}' "$work/time"
}
rows=()
# row FIGURE OURS ANCHOR UNIT TARGET_KIND TARGET: the ratio is ours/anchor when there is an
# anchor; TARGET_KIND "ratio" compares the ratio, "max" compares ours.
row() {
    local figure="$1" ours="$2" anchor="$3" unit="$4" kind="$5" target="$6" ratio="-" met
    if [ "$anchor" != "-" ]; then
        ratio=$(awk -v a="$ours" -v b="$anchor" 'BEGIN {printf "%.3f", a / b}')
    fi
    if [ "$kind" = ratio ]; then
        met=$(awk -v r="$ratio" -v t="$target" 'BEGIN {print (r <= t) ? "yes" : "no"}')
        target="<= ${target} x"
    else
        met=$(awk -v o="$ours" -v t="$target" 'BEGIN {print (o <= t) ? "yes" : "no"}')
        target="<= ${target} ${unit}"
    fi
    [ "$anchor" != "-" ] && anchor="$anchor $unit"
    rows+=("$figure|$ours $unit|$anchor|$ratio|$target|$met")
}

# --- 1. Start-up: exec to the first painted main window, on a virtual X server -------------
display=""
for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
home="$work/qelpro-home"
mkdir -p "$home" "$work/config/qelPro" "$work/share"
# A user who has started the program before and chose no voice: no question, no greeting.
printf '[Startup]\nQel.Path=%s\nVoice%%20pgm=未設定\nTable%%20Editor=none\n' "$home" \
    >"$work/config/qelPro/qelPro.ini"
startup() {
    DISPLAY="$display" QT_QPA_PLATFORM=xcb QELPRO_HOME="$home" XDG_CONFIG_HOME="$work/config" \
        XDG_DATA_HOME="$work/share" python3 "$root/bench/first_paint.py" "$qelpro"
}
startup >/dev/null || true # the first start registers the file types
: >"$work/s"
for ((i = 0; i < runs; i++)); do startup >>"$work/s" || true; done
row "start-up to first paint" "$(median <"$work/s")" "-" s max 0.15
kill "$xvfb_pid" 2>/dev/null || true
xvfb_pid=""

# --- 2, 3. Tables to PNG against gnuplot pngcairo, alternating runs --------------------------
for case in L S; do
    n=$([ "$case" = L ] && echo 20 || echo 5)
    : >"$work/q"; : >"$work/qc"; : >"$work/m"; : >"$work/g"; : >"$work/gc"
    for ((i = 0; i < runs; i++)); do
        read -r t c m < <(measure "$qelpro" --export "$work/$case-qelpro.png" --size 1382x648 \
            "$data/$case.tbx")
        echo "$t" >>"$work/q"; echo "$c" >>"$work/qc"; echo "$m" >>"$work/m"
        read -r t c _ < <(measure gnuplot -e \
            "data='$data/$case.dat'; out='$work/$case-gnuplot.png'; n=$n" "$root/bench/plot.gp")
        echo "$t" >>"$work/g"; echo "$c" >>"$work/gc"
    done
    label=$([ "$case" = L ] && echo "20 x 32767" || echo "5 x 12")
    target=$([ "$case" = L ] && echo 0.15 || echo 0.9)
    row "$label table to PNG" "$(median <"$work/q")" "$(median <"$work/g")" s ratio "$target"
    row "$label table to PNG, CPU" "$(median <"$work/qc")" "$(median <"$work/gc")" s ratio "$target"
    if [ "$case" = L ]; then
        row "$label table to PNG, peak memory" "$(($(median <"$work/m") / 1024))" "-" MiB max 60
    fi
    if [ -n "${BENCH_KEEP:-}" ]; then
        mkdir -p "$BENCH_KEEP"
        cp "$work/$case-qelpro.png" "$work/$case-gnuplot.png" "$BENCH_KEEP/"
    fi
done

# --- 4. On screen with the big table ----------------------------------------------------------
"$bench" screen "$data/L.tbx" 1382x648 "$runs" >"$work/screen" 2>/dev/null
value() { awk -v k="$1" '$1 == k {print $2}' "$2"; }
row "repaint, 20 x 32767 on screen" "$(value repaint "$work/screen")" "-" ms max 30
row "resize" "$(value resize "$work/screen")" "-" ms max 30
row "point drag step" "$(value drag "$work/screen")" "-" ms max 30
row "3D rotation step" "$(value rotate "$work/screen")" "-" ms max 30
row "hover hit test" "$(awk -v u="$(value hover "$work/screen")" 'BEGIN {printf "%.4f", u / 1000}')" \
    "-" ms max 1
row "first hit test after a paint" "$(value hover_first "$work/screen")" "-" ms max 1

# --- 5. Statistics ----------------------------------------------------------------------------
"$bench" stats "$data/R.tbx" "$runs" >"$work/stats" 2>/dev/null
row "regression job + report, 32767 points" "$(value regression "$work/stats")" "-" ms max 20

# --- 6. Slides: 20 charts, the two the program ships taking turns ----------------------------
mkdir -p "$work/show"
# A first start wrote them into the program folder.
cp "$home/qelPro.chf" "$home/qelMult.chf" "$work/show/"
for i in $(seq 1 20); do
    printf '<FILE> %s\r\n<TEXT>Slide %d: what the chart shows.\r\n' \
        "$([ $((i % 2)) -eq 1 ] && echo qelPro.chf || echo qelMult.chf)" "$i"
done >"$work/show/show.sld"
"$bench" slides "$work/show/show.sld" 1920x1080 >"$work/slides" 2>/dev/null
row "slide to slide at 1920 x 1080" "$(value slide "$work/slides")" "-" ms max 100
: >"$work/p"
for ((i = 0; i < 3; i++)); do
    read -r t _ _ < <(measure "$qelpro" --export "$work/show.pdf" "$work/show/show.sld")
    echo "$t" >>"$work/p"
done
row "20-slide show to PDF" "$(median <"$work/p")" "-" s max 2

# --- 7. Readers: the largest table accepted ---------------------------------------------------
read -r t _ m < <(measure "$bench" load "$data/H.tbx" 1)
size_mib=$(($(stat -c %s "$data/H.tbx") / 1048576))
row "16M-cell table load (${size_mib} MiB file)" "$t" "-" s max 3
row "16M-cell table load, peak memory" "$((m / 1024))" "-" MiB max $((2 * size_mib))

# --- The table ---------------------------------------------------------------------------------
{
    echo "figure|ours|anchor|ratio|target|met?"
    printf '%s\n' "${rows[@]}"
} | column -t -s '|'
echo
echo "$(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg); medians of $runs runs;" \
    "anchor: gnuplot $(gnuplot --version | cut -d' ' -f2) pngcairo, same data, size and lines."
