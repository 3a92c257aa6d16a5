# Sourced by the scripts that need a display: starts a private Xvfb on a free display
# number, exports DISPLAY and stops the server when the calling shell exits.
#
# The number is chosen here rather than with -displayfd: a server started with -displayfd
# writes no /tmp/.X<n>-lock, and KWin's XWayland, finding no lock, took the number and
# removed the socket file; the next Xvfb then left a socket there that nobody answers, and
# every client of the display hung. A server started on its number holds the lock.
start_private_xvfb() {
    local n=0
    while [ "$n" -lt 200 ]; do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp 2>/dev/null &
            VEXLO_XVFB_PID=$!
            for _ in $(seq 200); do
                kill -0 "$VEXLO_XVFB_PID" 2>/dev/null || break
                if timeout 5 xdpyinfo -display ":$n" >/dev/null 2>&1; then
                    export DISPLAY=":$n"
                    trap 'kill "$VEXLO_XVFB_PID" 2>/dev/null || true' EXIT
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
