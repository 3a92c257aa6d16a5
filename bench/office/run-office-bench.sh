#!/usr/bin/env bash
# Builds and runs the office benchmarks against real LibreOffice on a private Xvfb.
# Usage: bench/office/run-office-bench.sh [build dir] [benchmark options...]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build}"
shift || true
cmake --build "$build" --target office_bench -j2 >/dev/null
. "$root/scripts/xvfb-env.sh"
start_private_xvfb
export SAL_USE_VCLPLUGIN=gen
"$build/bench/office/office_bench" "$@"
