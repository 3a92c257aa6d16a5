# Sourced by the scripts that need a display: starts a private Xvfb on a free display
# number, exports DISPLAY and stops the server when the calling shell exits.
start_private_xvfb() {
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
    VEXLO_XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$fdfile" ] && break
        sleep 0.05
    done
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
    trap 'kill "$VEXLO_XVFB_PID" 2>/dev/null || true' EXIT
}
