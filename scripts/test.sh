#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test: unit and widget tests offscreen,
# desktop and office tests on a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh
./scripts/build.sh
. scripts/xvfb-env.sh
start_private_xvfb
# The end-to-end suites alone, after the rest: each starts desktops of its own (window
# managers, a Wayland compositor, offices) and wants both cores.
status=0
ctest --test-dir build --output-on-failure -j"$(nproc)" -LE e2e "$@" || status=$?
ctest --test-dir build --output-on-failure -L e2e "$@" || status=$?
exit "$status"
