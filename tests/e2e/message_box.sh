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
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/e2e/lib.sh
source "$here/lib.sh"

skip_unless_installed "xvfb and xdotool" Xvfb xdotool
prepare_run "$program" "$2"

readonly SCREEN_W=3840 SCREEN_H=2160
# The message's face and its design size (the toolkit's message font).
readonly FACE=IPAPGothic FACE_DESIGN_PIXELS=16
readonly LINE_ONE='２定点が斜めの場合の描画機能は本プログラムにはありません。'
readonly LINE_TWO='２定点が水平または垂直の場合のみ描画機能は使用できます。'

# ---------------------------------------------------------------- helpers
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
start_screen "$SCREEN_W" "$SCREEN_H"
start_program "$program"

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
raise_diagonal_foci_message "$id"

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
click_control "$id" "${END_BUTTON[@]}"
sleep 1
click_control "$menu" "${MENU_QUIT[@]}"
expect_clean_exit "its quit button was clicked"
log "PASS"
