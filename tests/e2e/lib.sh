# shellcheck shell=bash
# shellcheck disable=SC2034 # the layout and WINDOW are for the sourcing scripts
# Sourced by the scripts that drive the real program on a virtual X screen
# with the mouse: its layout, and the steps they share (starting the screen
# and the program, finding, clicking and photographing its windows, ending
# it). Messages carry the sourcing script's name. Sourcing it sets the trap
# that ends the program, the window manager and Xvfb however the script
# ends; the script sets `out`, its output folder, before anything fails.

E2E_NAME=$(basename "$0" .sh)
readonly E2E_NAME
E2E_LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
readonly E2E_LIB

# ---------------------------------------------------------------- layout
# The program's design size, in pixels.
readonly DESIGN_W=1024 DESIGN_H=768
# Screen pixels per design pixel, as a fraction; each script sets it once
# it knows how the program shows itself.
SCALE_NUM=1 SCALE_DEN=1
readonly MENU_W=250 MENU_H=250
# Buttons of the menu, as left top width height in the window.
readonly -a MENU_FIRST=(16 8 209 49) MENU_SECOND=(16 72 209 49) MENU_QUIT=(16 136 209 49)
# In an activity window: the plane's surface, its end button, and the
# second activity's graph button.
readonly PLANE_X=8 PLANE_Y=29
readonly -a END_BUTTON=(931 640 86 51) GRAPH_BUTTON_TWO=(691 336 321 51)
# The keypad box and the condition panel, as left top in the window; the
# keys are 49 x 49 (the two kind keys 97 wide), left top in the keypad box.
readonly KEYPAD_X=699 KEYPAD_Y=418 PANEL_X=691 PANEL_Y=24
# shellcheck disable=SC2054 # each key is "left,top"
declare -rA KEY=([kindleft]=8,24 [kindright]=104,24 [7]=8,72 [8]=56,72 [9]=104,72
    [4]=8,120 [5]=56,120 [6]=104,120 [minus]=152,120 [1]=8,168 [2]=56,168 [3]=104,168
    [root]=152,168 [0]=8,216 [confirm]=104,216)
readonly TITLE_ONE='Orvalis（準線と焦点）' TITLE_TWO='Orvalis（２つの焦点）'

readonly WAIT_SECONDS=${ORVALIS_E2E_WAIT:-30}

# ---------------------------------------------------------------- the run
out=
xvfb_pid=
wm_pid=
prog_pid=
runtime_dir=

log() { echo "$E2E_NAME: $*"; }

program_log_tail() {
    if [[ -n $out && -s $out/program.log ]]; then
        echo "---- last lines of $out/program.log ----" >&2
        tail -n 40 "$out/program.log" >&2
        echo "----" >&2
    fi
}

fail() {
    echo "$E2E_NAME: FAIL: $*" >&2
    program_log_tail
    exit 1
}

cleanup() {
    local rc=$?
    if [[ -n $prog_pid ]] && kill -0 "$prog_pid" 2>/dev/null; then
        kill "$prog_pid" 2>/dev/null || true
        sleep 0.2
        kill -9 "$prog_pid" 2>/dev/null || true
    fi
    if [[ -n $wm_pid ]] && kill -0 "$wm_pid" 2>/dev/null; then
        kill "$wm_pid" 2>/dev/null || true
        wait "$wm_pid" 2>/dev/null || true
    fi
    if [[ -n $xvfb_pid ]] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    [[ -n $runtime_dir ]] && rm -rf "$runtime_dir"
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Exits 77 (skipped) unless every tool named is installed; $1 names the
# Debian packages that bring them.
skip_unless_installed() {
    local packages=$1 tool
    shift
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "$E2E_NAME: SKIP: $tool is not installed (Debian packages $packages)"
            exit 77
        fi
    done
}

# Fails unless ImageMagick's import and convert are installed and $1 is a
# program; then makes $2 the output folder, emptied of an earlier run's
# screenshots and logs, and sets `out` to its full path.
prepare_run() {
    local program=$1 tool
    for tool in import convert; do
        command -v "$tool" >/dev/null 2>&1 || fail "$tool is not installed (Debian package imagemagick)"
    done
    [[ -x $program ]] || fail "no program at $program"
    mkdir -p "$2"
    out=$(cd "$2" && pwd)
    rm -f "$out"/*.png "$out"/*.rgb "$out"/*.log "$out/display"
}

# Starts Xvfb with a screen of $1 x $2 pixels and checks its size.
start_screen() {
    log "starting Xvfb"
    # shellcheck source=tests/support/xvfb.sh
    source "$E2E_LIB/../support/xvfb.sh"
    start_xvfb "$out" "$1" "$2"
    xvfb_pid=$XVFB_PID
    local geometry
    geometry=$(xdotool getdisplaygeometry) || fail "cannot talk to Xvfb on $DISPLAY"
    [[ $geometry == "$1 $2" ]] || fail "the virtual screen is $geometry, not $1 $2"
    log "Xvfb on $DISPLAY, $geometry"
}

# Starts the program $1 on the screen, with the environment's VAR=VALUE
# settings $2.. added, its output in program.log.
start_program() {
    local program=$1
    shift
    runtime_dir=$(mktemp -d)
    log "starting $program"
    env QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime_dir" LC_ALL=C.UTF-8 "$@" \
        "$program" >"$out/program.log" 2>&1 &
    prog_pid=$!
}

# Whether the program is still running (a zombie waiting to be reaped is not).
program_alive() {
    local stat
    stat=$(cat "/proc/$prog_pid/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    [[ ${stat:0:1} != Z ]]
}

# Fails when the program has ended; $1 says what the test was doing.
require_alive() {
    if ! program_alive; then
        local status=0
        wait "$prog_pid" || status=$?
        prog_pid=
        fail "the program ended (status $status) $1"
    fi
}

# Waits for the program to end after $1 (what ended it) and fails unless
# it ends within WAIT_SECONDS with status 0.
expect_clean_exit() {
    local deadline=$((SECONDS + WAIT_SECONDS)) status=0
    while program_alive; do
        ((SECONDS < deadline)) || fail "the program is still running $WAIT_SECONDS s after $1"
        sleep 0.2
    done
    wait "$prog_pid" || status=$?
    prog_pid=
    ((status == 0)) || fail "the program ended with status $status after $1, expected 0"
    log "the program ended with status 0"
}

# ---------------------------------------------------------------- windows
# Prints the ids of the visible windows whose title is exactly $1.
visible_windows() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true
}

# Whether the list of window ids $1 (one a line) holds the id $2.
holds_window() {
    [[ $'\n'$1$'\n' == *$'\n'$2$'\n'* ]]
}

# Visible windows other than the ones given, by id (a message box, say).
other_visible_windows() {
    local id known
    for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null || true); do
        for known in "$@"; do
            [[ $id == "$known" ]] && continue 2
        done
        echo "$id"
    done
}

# Waits for a visible window titled exactly $1 and sets WINDOW to its id.
wait_window() {
    local title=$1 ids deadline=$((SECONDS + WAIT_SECONDS))
    WINDOW=
    while ((SECONDS < deadline)); do
        ids=$(visible_windows "$title")
        if [[ -n $ids ]]; then
            WINDOW=${ids%%$'\n'*}
            return 0
        fi
        require_alive "while waiting for the window \"$title\""
        sleep 0.2
    done
    fail "no visible window \"$title\" within $WAIT_SECONDS s"
}

# Sets WIN_X WIN_Y WIN_W WIN_H to the place of window $1's client area on
# the screen (xwininfo's absolute position holds under a window manager too).
window_geometry() {
    WIN_X='' WIN_Y='' WIN_W='' WIN_H=''
    local info
    info=$(xwininfo -id "$1" 2>/dev/null) || fail "cannot read the geometry of window $1"
    WIN_X=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
    WIN_Y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
    WIN_W=$(sed -n 's/^ *Width: *//p' <<<"$info")
    WIN_H=$(sed -n 's/^ *Height: *//p' <<<"$info")
    [[ -n $WIN_X && -n $WIN_Y && -n $WIN_W && -n $WIN_H ]] || fail "cannot read the geometry of window $1"
}

# Where each activity window's content lies in its client area, by window
# id, for a script that finds it on the screen: a maximized window shows
# its content in its middle. A window not listed has it at its corner.
declare -A CONTENT_DX=() CONTENT_DY=()

# Sets WIN_X WIN_Y WIN_W WIN_H to the place of window $1's content: its
# client area, from the corner the layout counts from.
content_geometry() {
    window_geometry "$1"
    local dx=${CONTENT_DX[$1]:-0} dy=${CONTENT_DY[$1]:-0}
    WIN_X=$((WIN_X + dx)) WIN_Y=$((WIN_Y + dy)) WIN_W=$((WIN_W - dx)) WIN_H=$((WIN_H - dy))
}

# Takes a screenshot of the whole screen into $1 (PNG) and $1 minus .png
# plus .rgb (8-bit RGB, row by row, for reading pixels).
screenshot() {
    local png=$1
    import -window root "$png" 2>>"$out/imagemagick.log" || fail "import could not take a screenshot (see $out/imagemagick.log)"
    convert "$png" -depth 8 "rgb:${png%.png}.rgb" 2>>"$out/imagemagick.log" ||
        fail "convert could not read $png (see $out/imagemagick.log)"
}

# ---------------------------------------------------------------- scale
# The first screen pixel that design pixel $1 reaches, its last, and the
# one to click or read it by: the first screen pixel wholly within it.
s_lo() { echo $(($1 * SCALE_NUM / SCALE_DEN)); }
s_hi() { echo $((((($1 + 1) * SCALE_NUM + SCALE_DEN - 1) / SCALE_DEN) - 1)); }
s_mid() { echo $((($1 * SCALE_NUM + SCALE_DEN - 1) / SCALE_DEN)); }
scaled() { ((SCALE_NUM != SCALE_DEN)); }
# The device edge of design coordinate $1 from the surface's corner, as
# the program lays design pixels on device pixels (rounded half up).
s_edge() { echo $(((2 * $1 * SCALE_NUM + SCALE_DEN) / (2 * SCALE_DEN))); }

# ---------------------------------------------------------------- input
# Moves the pointer to screen pixel ($1,$2) and clicks the left button.
click_at() {
    xdotool mousemove --sync "$1" "$2" || fail "cannot move the pointer to ($1,$2)"
    sleep 0.1
    xdotool click 1 || fail "cannot click at ($1,$2)"
}

# Clicks the left button at design pixel $2,$3 of window $1's content.
click_in() {
    content_geometry "$1"
    click_at $((WIN_X + $(s_mid "$2"))) $((WIN_Y + $(s_mid "$3")))
}

# Clicks the middle of the control given as window id, left top width height.
click_control() {
    click_in "$1" $(($2 + $4 / 2)) $(($3 + $5 / 2))
}

# Presses the keypad keys named in $2.. (see KEY) in window $1.
press_keys() {
    local id=$1 name left top width
    shift
    for name in "$@"; do
        IFS=, read -r left top <<<"${KEY[$name]}"
        width=49
        [[ $name == kind* ]] && width=97
        click_in "$id" $((KEYPAD_X + left + width / 2)) $((KEYPAD_Y + top + 24))
    done
}

# Clicks the panel toggle at left top width height $2..$5 in window $1.
press_toggle() {
    click_in "$1" $((PANEL_X + $2 + $4 / 2)) $((PANEL_Y + $3 + $5 / 2))
}

# Clicks the plane of window $1 at its pixel $2,$3.
click_plane() {
    # The plane's own corner is rounded to a whole screen pixel; its design
    # pixels are counted from there.
    local corner_x=$(((2 * PLANE_X * SCALE_NUM + SCALE_DEN) / (2 * SCALE_DEN)))
    local corner_y=$(((2 * PLANE_Y * SCALE_NUM + SCALE_DEN) / (2 * SCALE_DEN)))
    content_geometry "$1"
    click_at $((WIN_X + corner_x + $(s_mid "$2"))) $((WIN_Y + corner_y + $(s_mid "$3")))
}

# In the second activity $1: keys F1 (0, 0), F2 (3, 4) and the sum 6,
# which it accepts, confirms, clicks (3.30, 4.39), on the ellipse, twice
# and presses the graph button, which raises the message that diagonal
# foci cannot be drawn.
raise_diagonal_foci_message() {
    local id=$1
    log "keying F1 (0, 0), F2 (3, 4) and the sum 6, and confirming"
    press_keys "$id" 0
    press_toggle "$id" 240 24 49 17
    press_keys "$id" 0
    press_toggle "$id" 160 80 49 17
    press_keys "$id" 3
    press_toggle "$id" 240 80 49 17
    press_keys "$id" 4
    press_toggle "$id" 8 152 161 33
    press_keys "$id" kindleft 6 confirm
    log "clicking (3.30, 4.39), on the ellipse, twice, and the graph button"
    click_plane "$id" 439 185
    click_plane "$id" 439 185
    sleep 0.5
    click_control "$id" "${GRAPH_BUTTON_TWO[@]}"
}
