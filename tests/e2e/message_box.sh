#!/usr/bin/env bash
# End-to-end test of a message box on a large screen: the real program on a
# 3840 x 2160 Xvfb screen, where it shows itself enlarged, opens the second
# activity from the menu, keys two foci on neither a horizontal nor a
# vertical line and a sum, confirms, clicks a point that fits twice and
# presses the graph button, which raises the message that diagonal foci
# cannot be drawn. In a screenshot of the box both lines of the message must
# show whole, each on a line of its own: as wide as the same line set alone
# in the box's face at the box's size, and inside the box, and the box
# wholly on the screen. Return then closes the box and the menu's quit
# button ends the program with status 0. Screenshots and logs go to
# OUTPUT_DIR.
#
#   message_box.sh PROGRAM OUTPUT_DIR
#
# Exits 77 (skipped) when Xvfb or xdotool is not installed.
set -euo pipefail

if (($# != 2)); then
    echo "usage: $0 PROGRAM OUTPUT_DIR" >&2
    exit 2
fi
program=$1
out=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "message_box: SKIP: $tool is not installed (Debian packages xvfb and xdotool)"
        exit 77
    fi
done
for tool in import convert; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "message_box: FAIL: $tool is not installed (Debian package imagemagick)" >&2
        exit 1
    fi
done
[[ -x $program ]] || {
    echo "message_box: FAIL: no program at $program" >&2
    exit 1
}

mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -f "$out"/*.png "$out"/*.rgb "$out"/*.log "$out/display"

readonly SCREEN_W=3840 SCREEN_H=2160
readonly MENU_W=250
readonly -a MENU_SECOND=(16 72 209 49) MENU_QUIT=(16 136 209 49)
readonly PLANE_X=8 PLANE_Y=29
readonly KEYPAD_X=699 KEYPAD_Y=418 PANEL_X=691 PANEL_Y=24
# shellcheck disable=SC2054 # each key is "left,top"
declare -rA KEY=([kindleft]=8,24 [0]=8,216 [3]=104,168 [4]=8,120 [6]=104,120 [confirm]=104,216)
# The message's face and its design size (the toolkit's message font).
readonly FACE=IPAPGothic FACE_DESIGN_PIXELS=16
readonly LINE_ONE='２定点が斜めの場合の描画機能は本プログラムにはありません。'
readonly LINE_TWO='２定点が水平または垂直の場合のみ描画機能は使用できます。'
readonly TITLE_TWO='Orvalis（２つの焦点）'
readonly WAIT_SECONDS=${ORVALIS_E2E_WAIT:-30}
# Screen pixels per design pixel, as a fraction; set from the menu's size.
SCALE_NUM=1 SCALE_DEN=1

xvfb_pid=
prog_pid=
runtime_dir=

log() { echo "message_box: $*"; }

fail() {
    echo "message_box: FAIL: $*" >&2
    if [[ -s $out/program.log ]]; then
        echo "---- last lines of $out/program.log ----" >&2
        tail -n 40 "$out/program.log" >&2
    fi
    exit 1
}

cleanup() {
    local rc=$?
    if [[ -n $prog_pid ]] && kill -0 "$prog_pid" 2>/dev/null; then
        kill "$prog_pid" 2>/dev/null || true
        sleep 0.2
        kill -9 "$prog_pid" 2>/dev/null || true
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

# ---------------------------------------------------------------- helpers
program_alive() { kill -0 "$prog_pid" 2>/dev/null && [[ $(cut -d' ' -f3 "/proc/$prog_pid/stat" 2>/dev/null) != Z ]]; }

visible_windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; }

# Waits for a visible window titled exactly $1 and sets WINDOW to its id.
wait_window() {
    local ids deadline=$((SECONDS + WAIT_SECONDS))
    WINDOW=
    while ((SECONDS < deadline)); do
        ids=$(visible_windows "$1")
        if [[ -n $ids ]]; then
            WINDOW=${ids%%$'\n'*}
            return 0
        fi
        program_alive || fail "the program ended while waiting for the window \"$1\""
        sleep 0.2
    done
    fail "no visible window \"$1\" within $WAIT_SECONDS s"
}

# Visible windows other than the ones given, by id.
other_visible_windows() {
    local id known
    for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null || true); do
        for known in "$@"; do
            [[ $id == "$known" ]] && continue 2
        done
        echo "$id"
    done
}

# Sets WIN_X WIN_Y WIN_W WIN_H to window $1's client area on the screen.
window_geometry() {
    local info
    info=$(xwininfo -id "$1" 2>/dev/null) || fail "cannot read the geometry of window $1"
    WIN_X=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
    WIN_Y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
    WIN_W=$(sed -n 's/^ *Width: *//p' <<<"$info")
    WIN_H=$(sed -n 's/^ *Height: *//p' <<<"$info")
}

# The first screen pixel wholly within design pixel $1.
s_mid() { echo $((($1 * SCALE_NUM + SCALE_DEN - 1) / SCALE_DEN)); }

# Clicks the left button at design pixel $2,$3 of window $1's client area.
click_in() {
    window_geometry "$1"
    xdotool mousemove --sync $((WIN_X + $(s_mid "$2"))) $((WIN_Y + $(s_mid "$3")))
    sleep 0.1
    xdotool click 1
}

click_control() { click_in "$1" $(($2 + $4 / 2)) $(($3 + $5 / 2)); }

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

press_toggle() { click_in "$1" $((PANEL_X + $2 + $4 / 2)) $((PANEL_Y + $3 + $5 / 2)); }

# Clicks the plane of window $1 at its pixel $2,$3 (the plane's corner is
# rounded to a whole screen pixel; its design pixels count from there).
click_plane() {
    local corner_x=$(((2 * PLANE_X * SCALE_NUM + SCALE_DEN) / (2 * SCALE_DEN)))
    local corner_y=$(((2 * PLANE_Y * SCALE_NUM + SCALE_DEN) / (2 * SCALE_DEN)))
    window_geometry "$1"
    xdotool mousemove --sync $((WIN_X + corner_x + $(s_mid "$2"))) $((WIN_Y + corner_y + $(s_mid "$3")))
    sleep 0.1
    xdotool click 1
}

screenshot() {
    import -window root "$1" 2>>"$out/imagemagick.log" || fail "import could not take a screenshot"
}

# Prints, for each band of rows of the image $1 (8-bit RGB dump, $2 x $3
# pixels) that holds pixels other than its top-left pixel's colour, the
# band's first row, last row, first column and last column.
ink_bands() {
    od -An -tu1 -v "$1" | tr -s ' ' '\n' | sed '/^$/d' | paste - - - |
        awk -v w="$2" '
            NR == 1 { bg = $0 }
            {
                i = NR - 1; y = int(i / w); x = i % w
                if (y != row) { close_row(); row = y }
                if ($0 != bg) { ink = 1; if (x < lo) lo = x; if (x > hi) hi = x }
            }
            function close_row() {
                if (ink) {
                    if (!inband) { inband = 1; top = row; left = lo; right = hi }
                    else { if (lo < left) left = lo; if (hi > right) right = hi }
                    bottom = row
                } else if (inband) { print top, bottom, left, right; inband = 0 }
                ink = 0; lo = 1e9; hi = -1
            }
            BEGIN { row = 0; lo = 1e9; hi = -1 }
            END { close_row(); if (inband) print top, bottom, left, right }'
}

# The width of the ink of the text $1 set alone in the face at $2 pixels.
own_width() {
    local file
    file=$(fc-match -f '%{file}' "$FACE")
    convert -background white -fill black -font "$file" -density 72 -pointsize "$2" label:"$1" -trim \
        -format '%w' info: 2>>"$out/imagemagick.log"
}

# ---------------------------------------------------------------- run
log "starting Xvfb"
# shellcheck source=tests/support/xvfb.sh
source "$here/../support/xvfb.sh"
start_xvfb "$out" "$SCREEN_W" "$SCREEN_H"
xvfb_pid=$XVFB_PID
[[ $(xdotool getdisplaygeometry) == "$SCREEN_W $SCREEN_H" ]] || fail "the virtual screen is not ${SCREEN_W}x$SCREEN_H"

runtime_dir=$(mktemp -d)
log "starting $program on $DISPLAY"
env QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime_dir" LC_ALL=C.UTF-8 \
    "$program" >"$out/program.log" 2>&1 &
prog_pid=$!

wait_window Orvalis
menu=$WINDOW
# The program's enlargement, read from the menu's width (250 design pixels).
window_geometry "$menu"
SCALE_NUM=$WIN_W SCALE_DEN=$MENU_W
log "menu ${WIN_W}x$WIN_H: $SCALE_NUM/$SCALE_DEN screen pixels per design pixel"

click_control "$menu" "${MENU_SECOND[@]}"
wait_window "$TITLE_TWO"
id=$WINDOW
sleep 1
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
click_in "$id" $((691 + 321 / 2)) $((336 + 51 / 2))

box=
deadline=$((SECONDS + 10))
while [[ -z $box ]] && ((SECONDS < deadline)); do
    sleep 0.5
    box=$(other_visible_windows "$menu" "$id" | head -n 1)
done
[[ -n $box ]] || fail "no message box after the graph button"
sleep 1
window_geometry "$box"
log "message box ${WIN_W}x$WIN_H at ($WIN_X,$WIN_Y)"
((WIN_X >= 0 && WIN_Y >= 0 && WIN_X + WIN_W <= SCREEN_W && WIN_Y + WIN_H <= SCREEN_H)) ||
    fail "the message box is not wholly on the screen"
screenshot "$out/message.png"
convert "$out/message.png" -crop "${WIN_W}x${WIN_H}+${WIN_X}+${WIN_Y}" +repage "$out/box.png"
convert "$out/box.png" -depth 8 "rgb:$out/box.rgb"
mapfile -t bands < <(ink_bands "$out/box.rgb" "$WIN_W" "$WIN_H")
log "bands of ink in the box (top bottom left right): $(printf '[%s] ' "${bands[@]}")"
# The two lines, then the OK button.
((${#bands[@]} >= 3)) || fail "the box shows ${#bands[@]} bands of ink, expected two lines and a button ($out/box.png)"

pixels=$(((FACE_DESIGN_PIXELS * SCALE_NUM + SCALE_DEN / 2) / SCALE_DEN))
n=0
for line in "$LINE_ONE" "$LINE_TWO"; do
    read -r _ _ left right <<<"${bands[$n]}"
    shown=$((right - left + 1))
    own=$(own_width "$line" "$pixels")
    log "line $((n + 1)): $shown pixels wide on the screen, $own set alone at $pixels pixels"
    # The same face drawn by another renderer: a few pixels either way.
    ((100 * shown >= 98 * own && 100 * shown <= 102 * own)) ||
        fail "line $((n + 1)) shows $shown of its $own pixels ($out/box.png)"
    ((left > 0 && right < WIN_W - 1)) || fail "line $((n + 1)) touches the edge of the box ($out/box.png)"
    n=$((n + 1))
done
log "both lines of the message show whole"

xdotool key Return
sleep 1
[[ -z $(other_visible_windows "$menu" "$id") ]] || fail "the message box is still up after Return"
click_in "$id" $((931 + 43)) $((640 + 25))
sleep 1
click_control "$menu" "${MENU_QUIT[@]}"
deadline=$((SECONDS + WAIT_SECONDS))
while program_alive; do
    ((SECONDS < deadline)) || fail "the program is still running $WAIT_SECONDS s after its quit button"
    sleep 0.2
done
status=0
wait "$prog_pid" || status=$?
prog_pid=
((status == 0)) || fail "the program ended with status $status"
log "PASS"
