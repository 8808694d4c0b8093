#!/usr/bin/env bash
# Sets up the machine, builds qelPro and runs every test headless.
# QEL_SANITIZE=ON builds into build-asan with AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ "${QEL_SANITIZE:-OFF}" = ON ]; then
    export QEL_BUILD_DIR="${QEL_BUILD_DIR:-build-asan}" QEL_BUILD_TYPE=Debug
    bash scripts/build.sh -DQEL_SANITIZE=ON
else
    bash scripts/build.sh
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${QEL_BUILD_DIR:-build}" --output-on-failure -j "$(nproc)"
