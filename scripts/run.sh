#!/usr/bin/env bash
# Sets up the machine, builds qelPro and opens the sample chart.
# Without a display the sample chart is rendered to a PNG instead and its path printed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
qelpro="${QEL_BUILD_DIR:-build}/src/shell/qelpro"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    out="${QEL_SAMPLE_OUT:-$PWD/sample-chart.png}"
    QT_QPA_PLATFORM=offscreen "$qelpro" --export "$out"
    echo "No display: the sample chart was rendered to $out"
else
    exec "$qelpro" kycfx.chf
fi
