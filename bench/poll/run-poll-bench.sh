#!/usr/bin/env bash
# The poll with 200 top-level windows of another process on a private Xvfb, bare and under
# openbox (frames around every shown window), then the idle program's CPU use over a
# minute. Usage: bench/poll/run-poll-bench.sh [build dir] [windows] [seconds]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build}"
windows="${2:-200}"
seconds="${3:-60}"
cmake --build "$build" --target poll_bench vexlo_title_windows vexlo_main -j2 >/dev/null
helper="$build/tests/platform/vexlo_title_windows"
. "$root/scripts/xvfb-env.sh"
start_private_xvfb
export QT_QPA_PLATFORM=xcb

echo "== bare Xvfb"
"$build/bench/poll/poll_bench" "$helper" "$windows"
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 2
echo "== Xvfb with openbox"
"$build/bench/poll/poll_bench" "$helper" "$windows" || true

# Idle CPU: the real program with its poll running (and the windows still there), from a
# folder holding its data files; user + system time from /proc over the whole interval.
data=$(mktemp -d)
cp "$root"/assets/data/* "$data"/
fifo="$data/.helper-input"
mkfifo "$fifo"
"$helper" $(for i in $(seq "$windows"); do echo "shown:idle_window_$i"; done) <"$fifo" >/dev/null &
others=$!
exec 3>"$fifo"
(cd "$data" && exec "$build/app/Vexlo8.12" >/dev/null 2>&1) &
program=$!
sleep 5
hz=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$program/stat"; }
before=$(cpu)
sleep "$seconds"
after=$(cpu)
echo "== idle program under openbox with $windows other windows, ${seconds} s"
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" \
    'BEGIN { printf "CPU %.2f %% of one core (%d ticks of 1/%d s)\n", 100 * t / hz / s, t, hz }'
kill "$program" 2>/dev/null || true
echo quit >&3
exec 3>&-
wait "$others" 2>/dev/null || true
kill "$wm" 2>/dev/null || true
rm -rf "$data"
