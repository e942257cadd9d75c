# shellcheck shell=bash
# Sourced by the tests that drive a real program on a virtual X screen.
#
#   start_xvfb OUT_DIR WIDTH HEIGHT
#
# Starts Xvfb (WIDTH x HEIGHT x 24, no window manager) on a free display,
# with its log in OUT_DIR/xvfb.log, and exports DISPLAY. Sets XVFB_PID for
# the caller to end. Calls the caller's fail function when it does not start.
start_xvfb() {
    local out=$1 width=$2 height=$3 number i
    : >"$out/display"
    Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp -noreset \
        3>"$out/display" >"$out/xvfb.log" 2>&1 &
    XVFB_PID=$!
    for ((i = 0; i < 100; i++)); do
        # Xvfb writes the number and a newline once it accepts clients.
        (($(wc -l <"$out/display") > 0)) && break
        kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb did not start (see $out/xvfb.log)"
        sleep 0.1
    done
    number=$(tr -d '[:space:]' <"$out/display")
    [[ $number =~ ^[0-9]+$ ]] || fail "Xvfb gave no display number within 10 s (see $out/xvfb.log)"
    export DISPLAY=":$number"
    unset WAYLAND_DISPLAY
}
