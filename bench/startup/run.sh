#!/usr/bin/env bash
# Start-up time and memory of the program, against a minimal Qt Widgets program.
# Usage: bench/startup/run.sh [runs]   (needs ./build and a display; starts Xvfb if none)
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-15}
if [ -z "${DISPLAY:-}" ]; then
    . scripts/xvfb-env.sh
    start_private_xvfb
fi
data=$(mktemp -d)
trap 'rm -rf "$data"; if declare -F stop_private_xvfb >/dev/null; then stop_private_xvfb; fi' EXIT
cp assets/data/* "$data"/
probe=$PWD/build/bench/startup/startup_probe
floor=$PWD/build/bench/startup/startup_floor

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
measure() {
    local out
    out=$(mktemp)
    "$1" >/dev/null 2>&1 # warm-up
    for _ in $(seq "$runs"); do
        /usr/bin/time -f '%e %M' -a -o "$out" "$1" >/dev/null 2>&1
    done
    echo "$(awk '{print $1*1000}' "$out" | median) ms, peak RSS $(awk '{print $2/1024}' "$out" | median) MiB"
    rm -f "$out"
}
cd "$data"
echo "start-up to completion (median of $runs): $(measure "$probe")"
echo "minimal Qt Widgets floor  (median of $runs): $(measure "$floor")"

# Idle resident memory of the real program after start-up.
"$OLDPWD/build/app/Vexlo8.12" >/dev/null 2>&1 &
pid=$!
sleep 3
echo "idle program resident memory: $(awk '/VmRSS/ {print $2/1024 " MiB"}' /proc/$pid/status)"
kill $pid
