#!/usr/bin/env bash
# Runs the slide-draw benchmark on the display in DISPLAY (Xvfb is fine). Arguments: the
# teacher's choosing time in the menu in ms (default 2000), then optionally a PNG for a
# screenshot of the first show with the strip above it.
set -euo pipefail
build="${BUILD_DIR:-$(dirname "$0")/../../build}"
QT_QPA_PLATFORM=xcb SAL_USE_VCLPLUGIN=gen "$build/bench/slides/slides_bench" "$@"
