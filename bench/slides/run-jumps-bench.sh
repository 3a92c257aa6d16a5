#!/usr/bin/env bash
# 200 slide-draw jumps on a running show while both cores are kept busy by two spinning
# processes, on the display in DISPLAY (Xvfb is fine). Arguments: the number of jumps
# (default 200); LOAD=0 for a quiet machine.
set -euo pipefail
build="${BUILD_DIR:-$(dirname "$0")/../../build}"
spinners=()
if [ "${LOAD:-1}" != 0 ]; then
    for _ in $(seq "$(nproc)"); do
        sh -c 'while :; do :; done' &
        spinners+=($!)
    done
fi
trap '[ ${#spinners[@]} -eq 0 ] || kill "${spinners[@]}" 2>/dev/null' EXIT
QT_QPA_PLATFORM=xcb SAL_USE_VCLPLUGIN=gen "$build/bench/slides/jumps_bench" "$@"
