#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test: unit and widget tests offscreen,
# desktop and office tests on a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/bootstrap.sh
./scripts/build.sh
. scripts/xvfb-env.sh
start_private_xvfb
ctest --test-dir build --output-on-failure -j"$(nproc)" "$@"
