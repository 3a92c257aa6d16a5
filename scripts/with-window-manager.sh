#!/usr/bin/env bash
# Runs a command on $DISPLAY with openbox managing the windows, as on a user's desktop,
# and stops openbox afterwards. Used for display tests whose fault shows only under a
# window manager; those tests run one at a time, so the display is theirs meanwhile.
set -uo pipefail
openbox >/dev/null 2>&1 &
wm=$!
for _ in $(seq 150); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
done
"$@"
rc=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
# openbox takes its check property away as it exits; the next test gets a bare display.
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" || break
    sleep 0.1
done
exit "$rc"
