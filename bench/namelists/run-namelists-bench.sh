#!/usr/bin/env bash
# Builds and runs the name-list draw figures against real LibreOffice on a private Xvfb.
# Usage: bench/namelists/run-namelists-bench.sh [build dir] [runs] [looking time, ms]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build}"
shift || true
cmake --build "$build" --target namelists_bench -j2 >/dev/null
. "$root/scripts/xvfb-env.sh"
start_private_xvfb
export SAL_USE_VCLPLUGIN=gen QT_QPA_PLATFORM=xcb
"$build/bench/namelists/namelists_bench" "$@"
