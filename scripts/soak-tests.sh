#!/usr/bin/env bash
# Runs the whole test suite N times in a row and reports each run's result and its failing
# tests, to find tests that fail only now and then. With --load, both cores are kept busy
# meanwhile by a parallel build of the project into a scratch folder, rebuilt from clean
# over and over, as on a machine that is doing something else.
#   scripts/soak-tests.sh N [--load]
set -uo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
load=${2:-}
case "$runs" in '' | *[!0-9]*) echo "usage: $0 N [--load]" >&2; exit 2 ;; esac

./scripts/bootstrap.sh
./scripts/build.sh >/dev/null
. scripts/xvfb-env.sh
start_private_xvfb

out=build/soak
rm -rf "$out"
mkdir -p "$out"
# Each summary line goes to the file as soon as it is known, so a soak cut short still
# says what it saw.
say() { echo "$*" | tee -a "$out/summary.txt"; }
loader=
stop_load() {
    [ -n "$loader" ] || return 0
    kill -- "-$loader" 2>/dev/null
    wait "$loader" 2>/dev/null
    loader=
}
if [ "$load" = --load ]; then
    scratch=$(mktemp -d)
    # Its own process group, so that stopping it stops the compilers it started too.
    setsid bash -c '
        while :; do
            rm -rf "$0/build"
            cmake -S . -B "$0/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null 2>&1
            cmake --build "$0/build" -j2 >/dev/null 2>&1
        done' "$scratch" &
    loader=$!
    trap 'stop_load; rm -rf "$scratch"; stop_private_xvfb' EXIT
fi

# What a run may start and must end: offices, buses, displays, desktops and portals. The
# shared display and the loader's compilers are not among them.
left_behind() {
    # (Names as the kernel keeps them, cut to 15 characters.) Services the soak's own session
    # bus started on demand (the accessibility bus's dbus-daemon) are in the bus's process
    # group and end with it, after the last run.
    ps -eo pid=,pgid=,comm= | grep -E ' (soffice\.bin|oosplash|dbus-daemon|dbus-launch|Xvfb|Xwayland|openbox|xfwm4|mutter|kwin_x11|kwin_wayland|xdg-desktop-por.*)$' |
        awk -v shared="$VEXLO_XVFB_PID" -v bus="$VEXLO_BUS_PID" '$1 != shared && $2 != bus { print $1, $3 }' | sort
}
before=$(left_behind)

say "soak of $runs runs${load:+ with the machine loaded} started $(date -Is)"
failed_runs=0
for i in $(seq "$runs"); do
    log="$out/run-$i.log"
    start=$(date +%s)
    # The end-to-end suites last, as in scripts/test.sh.
    (
        r=0
        ctest --test-dir build --output-on-failure -j"$(nproc)" -LE e2e || r=$?
        ctest --test-dir build --output-on-failure -L e2e || r=$?
        exit "$r"
    ) >"$log" 2>&1
    rc=$?
    secs=$(( $(date +%s) - start ))
    stray=$(comm -13 <(echo "$before") <(left_behind) | tr '\n' ';')
    [ -z "$stray" ] || say "run $i: left running: $stray"
    summary=$(grep -E '^[0-9]+% tests passed' "$log" | paste -sd ';' -)
    if [ "$rc" -eq 0 ]; then
        say "run $i: passed in ${secs} s: $summary"
    else
        failed_runs=$((failed_runs + 1))
        failing=$(sed -n '/The following tests FAILED:/,$p' "$log" | grep -E '^\s+[0-9]+ - ' |
                  sed -E 's/^\s+[0-9]+ - //' | tr '\n' ';')
        say "run $i: FAILED in ${secs} s: $summary; failing: $failing (log: $log)"
    fi
done
stop_load
say "soak: $((runs - failed_runs)) of $runs runs green${load:+ (machine loaded)}"
[ "$failed_runs" -eq 0 ]
