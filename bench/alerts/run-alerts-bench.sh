#!/usr/bin/env bash
# Builds and runs the time-up timer benchmark on a private Xvfb, once on the bare server
# and once under a window manager (openbox), which sees every one of the 321 moves.
# Usage: bench/alerts/run-alerts-bench.sh [build dir] [sequences]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build}"
sequences="${2:-3}"
cmake --build "$build" --target time_up_bench -j2 >/dev/null
. "$root/scripts/xvfb-env.sh"
start_private_xvfb
export QT_QPA_PLATFORM=xcb
echo "== bare Xvfb"
"$build/bench/alerts/time_up_bench" "$sequences"
if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    wm=$!
    sleep 1
    echo "== Xvfb with openbox"
    "$build/bench/alerts/time_up_bench" "$sequences" || true
    kill "$wm" 2>/dev/null || true
fi
