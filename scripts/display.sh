# Sourced by the other scripts: a private X server (Xvfb) with a window manager (openbox).
# start_private_display [WxHxD] exports DISPLAY; stop_private_display ends both again.

start_private_display() {
    local screen=${1:-1920x1080x24} fifo display
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    # -displayfd lets the server pick a free display and tell us which.
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    ONDRAVA_XVFB_PID=$!
    if ! read -r -t 20 display <"$fifo"; then
        rm -f "$fifo"
        echo "Xvfb did not start" >&2
        return 1
    fi
    rm -f "$fifo"
    export DISPLAY=":$display"
    openbox --sm-disable >/dev/null 2>&1 &
    ONDRAVA_OPENBOX_PID=$!
    local i
    for i in $(seq 200); do
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
            return 0
        fi
        sleep 0.05
    done
    echo "openbox did not start on $DISPLAY" >&2
    return 1
}

stop_private_display() {
    local pid
    for pid in ${ONDRAVA_OPENBOX_PID:-} ${ONDRAVA_XVFB_PID:-}; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    ONDRAVA_OPENBOX_PID=
    ONDRAVA_XVFB_PID=
}
