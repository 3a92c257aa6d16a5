# Sourced by the scripts that need a display: starts a private Xvfb on a free display
# number with a D-Bus session bus of its own, as a desktop session has, exports DISPLAY and
# the bus's address, and stops both when the calling shell exits. (Without a bus, the first
# Qt program on the display had D-Bus start one bound to the display, which outlived the
# tests until the display ended.)
#
# The number is chosen here rather than with -displayfd: a server started with -displayfd
# writes no /tmp/.X<n>-lock, and KWin's XWayland, finding no lock, took the number and
# removed the socket file; the next Xvfb then left a socket there that nobody answers, and
# every client of the display hung. A server started on its number holds the lock.
start_private_xvfb() {
    local n=0
    while [ "$n" -lt 200 ]; do
        # (A server may still listen under the number after its files are gone.)
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ] &&
            ! grep -q " @/tmp/.X11-unix/X$n\$" /proc/net/unix; then
            Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp 2>/dev/null &
            VEXLO_XVFB_PID=$!
            for _ in $(seq 200); do
                kill -0 "$VEXLO_XVFB_PID" 2>/dev/null || break
                # Ours once it holds the number's lock and answers (an answer alone may come
                # from another server still listening under that number).
                if [ "$(cat "/tmp/.X$n-lock" 2>/dev/null | tr -d ' \n')" = "$VEXLO_XVFB_PID" ] &&
                    timeout 5 xdpyinfo -display ":$n" >/dev/null 2>&1; then
                    export DISPLAY=":$n"
                    start_session_bus
                    trap 'stop_private_xvfb' EXIT
                    return 0
                fi
                sleep 0.05
            done
            # Another server won the number meanwhile (or this one never answered).
            kill "$VEXLO_XVFB_PID" 2>/dev/null || true
        fi
        n=$((n + 1))
    done
    echo "no free X display number for Xvfb" >&2
    return 1
}

start_session_bus() {
    local said
    said=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) || return 1
    export DBUS_SESSION_BUS_ADDRESS=${said%%$'\n'*}
    VEXLO_BUS_PID=${said##*$'\n'}
}

stop_private_xvfb() {
    [ -z "${VEXLO_BUS_PID:-}" ] || kill "$VEXLO_BUS_PID" 2>/dev/null || true
    kill "$VEXLO_XVFB_PID" 2>/dev/null || true
}
