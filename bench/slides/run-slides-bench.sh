#!/usr/bin/env bash
# Runs the slide-draw benchmark on the display in DISPLAY (Xvfb is fine); an optional
# argument names a PNG for a screenshot of the first show with the strip above it.
set -euo pipefail
build="${BUILD_DIR:-$(dirname "$0")/../../build}"
QT_QPA_PLATFORM=xcb SAL_USE_VCLPLUGIN=gen "$build/bench/slides/slides_bench" "$@"
