# Sourced by the scripts: a virtual X server for Wine's windows.

# start_xvfb: an X server on a free display, exported as DISPLAY, with a window manager as a
# player's desktop has one (without, Wine waits 2 s each time a window is hidden); stop_xvfb
# ends both. Xvfb picks the display itself (one free in this /tmp may be another root's: X's
# abstract sockets are shared) and names it once it takes connections. The screen is large
# enough for the dialog at 200 %.
X_PIDS=()
start_xvfb() {
    local fifo display i
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    X_PIDS=("$!")
    display=$(timeout 30 head -n 1 "$fifo") || true
    rm -f "$fifo"
    if [ -z "$display" ]; then
        echo "Xvfb named no display within 30 s" >&2
        return 1
    fi
    export DISPLAY=:$display
    openbox >/dev/null 2>&1 &
    X_PIDS=("$!" "${X_PIDS[@]}")
    # openbox is ready once it owns the screen's selection.
    for ((i = 0; i < 300; ++i)); do
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
            return 0
        fi
        sleep 0.1
    done
    echo "openbox did not take $DISPLAY within 30 s" >&2
    return 1
}

# stop_xvfb: ends what start_xvfb started, the window manager first.
stop_xvfb() {
    local pid
    for pid in "${X_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    X_PIDS=()
}
