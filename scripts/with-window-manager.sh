#!/usr/bin/env bash
# Runs a command on $DISPLAY with openbox managing the windows, as on a user's desktop,
# and stops openbox afterwards. Used for display tests whose fault shows only under a
# window manager; those tests run one at a time, so the display is theirs meanwhile.
set -uo pipefail
# A manager runs when the root names a check window that names itself; a property left
# behind by a manager that died does not count.
wm_check() {
    local id
    id=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -o '0x[0-9a-f]*') || return 1
    xprop -id "$id" _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "$id"
}
supports_activation() { xprop -root _NET_SUPPORTED 2>/dev/null | grep -q "_NET_ACTIVE_WINDOW"; }

# A manager still leaving the display would make ours give up at once, and its check
# property would pass for ours.
for _ in $(seq 100); do wm_check || break; sleep 0.1; done
if wm_check; then
    echo "with-window-manager: another window manager still runs on $DISPLAY" >&2
    exit 1
fi
# A manager that has just taken its property away may still hold the display's manager
# selection for a moment; an openbox started then gives up at once, and is started again.
for _ in $(seq 20); do
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    for _ in $(seq 150); do
        wm_check && supports_activation && break
        kill -0 "$wm" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$wm" 2>/dev/null && break
    wait "$wm" 2>/dev/null
    sleep 0.5
done
if ! kill -0 "$wm" 2>/dev/null || ! supports_activation; then
    echo "with-window-manager: openbox did not start on $DISPLAY" >&2
    exit 1
fi
"$@"
rc=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
# openbox takes its check property away as it exits; the next test gets a bare display.
for _ in $(seq 50); do wm_check || break; sleep 0.1; done
exit "$rc"
