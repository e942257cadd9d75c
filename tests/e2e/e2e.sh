#!/usr/bin/env bash
# End-to-end test: drives the real program on a virtual X screen the way a
# person would, with the mouse, and checks what is on the screen.
#
#   e2e.sh [--wm openbox] [--screen WIDTHxHEIGHT] [--scaling qt:FACTOR|dpi:DPI]
#          PROGRAM OUTPUT_DIR
#
# Starts Xvfb (1024x768x24 unless --screen says otherwise; with --wm, the
# window manager on it too) on a display that Xvfb itself picks (-displayfd:
# the lowest free number, claimed with its lock file, so that runs side by
# side never share one), starts PROGRAM on it, opens
# each activity window from the menu, checks the coordinate plane's axes and
# grid in a screenshot, keys a condition on the keypad, confirms it, clicks
# a point that fits it, draws the curve with the graph button and checks the
# fixed objects, segments, readout and curve on the screen's pixels, closes
# the window with its end button, and finally quits from the menu, which
# must end the process with status 0. Screenshots and logs go to OUTPUT_DIR.
# Each activity's content is found on the screen from where its plane is
# shown: a maximized window shows its content in its middle.
# Under a window manager the windows' bounds are their outer bounds, frame
# included, and the second activity opens maximized in the work area, with
# its plane where the first, centred, has it; then
# it also drives the keyboard (the zoom bar's keys, Return on a button), the
# menu's activation, the close boxes, and a held zoom arrow while a message
# box is up (one box, which a keystroke closes for good). On a screen larger
# than the design the program shows itself enlarged: every position of the
# layout is then scaled by the menu's size, the activity must lie wholly on
# the screen at 1.25 times the design or more, and the plane's grid lines
# must all be equally wide.
# With --scaling the desktop scales as classes set it: qt:FACTOR sets
# QT_SCALE_FACTOR for the program, dpi:DPI sets Xft.dpi in the X resources
# (xrdb) before it starts. The program then fits the screen's device pixels
# whatever the scaling: both activities, frame included, and their zoom bars
# must lie wholly on the screen, the two planes at the same place (a device
# pixel apart at most where Qt scales by a fraction and rounds the frame to
# its logical pixels), and in the second activity, with F1 put on the grid
# crossing (2, 4), a press on every screen pixel of the crossing's design
# pixel must put P on F1, so that P's marker hides F1's wholly (a press
# beside it must not).
# With ORVALIS_UPDATE_SCREENSHOT=1 the first activity's screenshot with its
# curve also replaces docs/screenshot.png.
#
# Exits 77 (skipped) when Xvfb or xdotool (or the window manager, or xrdb
# for --scaling) is not installed.
set -euo pipefail

wm=
screen=1024x768
scaling=
while [[ ${1:-} == --* ]]; do
    case $1 in
        --wm) wm=${2:-} ;;
        --screen) screen=${2:-} ;;
        --scaling) scaling=${2:-} ;;
        *) break ;;
    esac
    shift 2
done
if (($# != 2)) || [[ ! $screen =~ ^[0-9]+x[0-9]+$ ]] || [[ -n $scaling && ! $scaling =~ ^(qt:[0-9.]+|dpi:[0-9]+)$ ]]; then
    echo "usage: $0 [--wm openbox] [--screen WIDTHxHEIGHT] [--scaling qt:FACTOR|dpi:DPI] PROGRAM OUTPUT_DIR" >&2
    exit 2
fi
program=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=tests/e2e/lib.sh
source "$here/lib.sh"

skip_unless_installed "xvfb, xdotool, openbox, x11-xserver-utils" Xvfb xdotool ${wm:+"$wm"} ${scaling:+xrdb}
prepare_run "$program" "$2"

# The screen, in pixels.
readonly SCREEN_W=${screen%x*} SCREEN_H=${screen#*x}
# At the initial zoom the axes are the plane's column and row 330, and the
# grid lines are every 33 pixels from them.
readonly AXIS=330 GRID=33
readonly BLACK=0,0,0 SILVER=192,192,192

# ---------------------------------------------------------------- X server
start_screen "$SCREEN_W" "$SCREEN_H"
# The desktop's scaling: Qt's own factor for the program, or the DPI that
# desktops set in the X resources.
program_env=()
case $scaling in
    qt:*) program_env=(QT_SCALE_FACTOR="${scaling#qt:}") ;;
    dpi:*)
        echo "Xft.dpi: ${scaling#dpi:}" | xrdb -nocpp -merge || fail "xrdb could not set Xft.dpi"
        ;;
esac
[[ -n $scaling ]] && log "the desktop scales by $scaling"
if [[ -n $wm ]]; then
    log "starting the window manager $wm"
    "$wm" >"$out/wm.log" 2>&1 &
    wm_pid=$!
    # The window manager is up once it names itself on the root window.
    for ((i = 0; i < 100; i++)); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        kill -0 "$wm_pid" 2>/dev/null || fail "$wm did not start (see $out/wm.log)"
        sleep 0.1
    done
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "$wm did not come up within 10 s"
fi

# ---------------------------------------------------------------- helpers
# Waits until the window $1 (titled $2) is no longer visible.
wait_hidden() {
    local id=$1 title=$2 deadline=$((SECONDS + 10))
    while ((SECONDS < deadline)); do
        holds_window "$(visible_windows "$title")" "$id" || return 0
        require_alive "while waiting for the window \"$title\" to close"
        sleep 0.2
    done
    fail "the window \"$title\" is still visible 10 s after its end button was clicked"
}

# Sets OUT_X OUT_Y OUT_W OUT_H to window $1's outer bounds: its client area
# and the frame the window manager reports around it (none without one).
outer_geometry() {
    window_geometry "$1"
    local l=0 r=0 t=0 b=0 extents
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p')
    [[ -n $extents ]] && IFS=', ' read -r l r t b <<<"$extents"
    OUT_X=$((WIN_X - l)) OUT_Y=$((WIN_Y - t)) OUT_W=$((WIN_W + l + r)) OUT_H=$((WIN_H + t + b))
}

# Takes a screenshot of the screen rectangle left top width height $2..$5
# into $1 (PNG) and $1 minus .png plus .rgb, and notes the rectangle for
# region_pixel.
grab_region() {
    local png=$1
    import -window root -crop "${4}x${5}+${2}+${3}" "$png" 2>>"$out/imagemagick.log" ||
        fail "import could not take a screenshot (see $out/imagemagick.log)"
    convert "$png" +repage -depth 8 "rgb:${png%.png}.rgb" 2>>"$out/imagemagick.log" ||
        fail "convert could not read $png (see $out/imagemagick.log)"
    REGION_X=$2 REGION_Y=$3 REGION_W=$4 REGION_H=$5 REGION_RGB=${png%.png}.rgb REGION_PNG=$png
}

# Prints the colour of screen pixel ($1,$2) in the last grab_region as r,g,b.
region_pixel() {
    local offset=$(((($2 - REGION_Y) * REGION_W + $1 - REGION_X) * 3))
    od -An -tu1 -j "$offset" -N3 "$REGION_RGB" | awk '{ printf "%d,%d,%d", $1, $2, $3 }'
}

# Prints the colours (r,g,b, one a line) along row ($2 row) or column ($2
# column) $3 of the last grab_region, counted from its corner.
region_line() {
    local geometry
    if [[ $2 == row ]]; then geometry="${REGION_W}x1+0+$3"; else geometry="1x${REGION_H}+$3+0"; fi
    convert "$1" +repage -crop "$geometry" +repage -depth 8 rgb:- 2>>"$out/imagemagick.log" |
        od -An -tu1 -v | tr -s ' ' '\n' | sed '/^$/d' | paste -d, - - -
}

# Prints the index of the first line of stdin that is the colour $1 (and
# reads it all, so that nothing before it in a pipe is cut short).
first_of() {
    awk -v c="$1" '$0 == c && !found { print NR - 1; found = 1 }'
}

# Sets PLANE_SX PLANE_SY to the screen pixel where window $1 shows the
# plane's top-left corner (the first pixel of its silver border), found on
# the screen: from the left along the client area's middle row, then down
# a column just inside the plane. Retries for a few seconds while the
# window paints.
find_plane() {
    local id=$1 png="$out/find-plane.png" deadline=$((SECONDS + 5)) x y
    while :; do
        window_geometry "$id"
        grab_region "$png" "$WIN_X" "$WIN_Y" "$WIN_W" "$WIN_H"
        x=$(region_line "$png" row $((WIN_H / 2)) | first_of "$SILVER")
        y=
        [[ -n $x ]] && y=$(region_line "$png" column $((x + $(s_mid 5))) | first_of "$SILVER")
        if [[ -n $x && -n $y ]]; then
            PLANE_SX=$((WIN_X + x)) PLANE_SY=$((WIN_Y + y))
            return 0
        fi
        ((SECONDS < deadline)) || fail "no plane found in window $1 ($png)"
        sleep 0.5
    done
}

# Finds the content of activity window $1 from where the screen shows its
# plane; a window that is not maximized has it at its client's corner.
# Leaves PLANE_SX PLANE_SY set.
locate_content() {
    local id=$1 corner_x corner_y
    find_plane "$id"
    window_geometry "$id"
    corner_x=$(((2 * PLANE_X * SCALE_NUM + SCALE_DEN) / (2 * SCALE_DEN)))
    corner_y=$(((2 * PLANE_Y * SCALE_NUM + SCALE_DEN) / (2 * SCALE_DEN)))
    CONTENT_DX[$id]=$((PLANE_SX - WIN_X - corner_x))
    CONTENT_DY[$id]=$((PLANE_SY - WIN_Y - corner_y))
    log "window $id shows its plane at ($PLANE_SX,$PLANE_SY), its content at (${CONTENT_DX[$id]},${CONTENT_DY[$id]}) in its client area"
    if [[ $(xprop -id "$id" _NET_WM_STATE 2>/dev/null) != *_NET_WM_STATE_MAXIMIZED_HORZ* ]]; then
        ((${CONTENT_DX[$id]#-} <= 1 && ${CONTENT_DY[$id]#-} <= 1)) ||
            fail "window $id is not maximized, but its content is not at its client area's corner"
    fi
}

# Checks that the window $1 (described as $2) has the outer bounds $3,$4
# $5x$6.
expect_geometry() {
    outer_geometry "$1"
    log "$2: ${OUT_W}x${OUT_H} at ($OUT_X,$OUT_Y) outside, client ${WIN_W}x${WIN_H} at ($WIN_X,$WIN_Y)"
    if [[ "$OUT_X,$OUT_Y ${OUT_W}x$OUT_H" != "$3,$4 ${5}x$6" ]]; then
        fail "$2 is ${OUT_W}x${OUT_H} at ($OUT_X,$OUT_Y) outside, expected ${5}x$6 at ($3,$4)"
    fi
}

# Prints the colour of screen pixel ($2,$3) of the RGB dump $1 as r,g,b.
pixel() {
    local offset=$((($3 * SCREEN_W + $2) * 3))
    od -An -tu1 -j "$offset" -N3 "$1" | awk '{ printf "%d,%d,%d", $1, $2, $3 }'
}

# Prints the colour of the plane's design pixel $4,$5 in the RGB dump $1 of
# the window whose client area is at screen $2,$3 (its middle screen pixel).
plane_pixel() {
    pixel "$1" $(($2 + $(s_mid $((PLANE_X + $4))))) $(($3 + $(s_mid $((PLANE_Y + $5)))))
}

# Whether a line of colour $6 crosses the plane's design pixel $4,$5 (dump
# $1, client area at $2,$3): enlarged, a line drawn on whole screen pixels
# may lie one pixel beside the middle of its design pixel.
plane_line_at() {
    local rgb=$1 x y mx my
    [[ $(plane_pixel "$@") == "$6" ]] && return 0
    scaled || return 1
    mx=$(($2 + $(s_mid $((PLANE_X + $4))))) my=$(($3 + $(s_mid $((PLANE_Y + $5)))))
    for ((x = $2 + $(s_lo $((PLANE_X + $4))) - 1; x <= $2 + $(s_hi $((PLANE_X + $4))) + 1; x++)); do
        [[ $(pixel "$rgb" "$x" "$my") == "$6" ]] && return 0
    done
    for ((y = $3 + $(s_lo $((PLANE_Y + $5))) - 1; y <= $3 + $(s_hi $((PLANE_Y + $5))) + 1; y++)); do
        [[ $(pixel "$rgb" "$mx" "$y") == "$6" ]] && return 0
    done
    return 1
}

# Checks the plane of the window whose client area is at screen ($2,$3) in
# the RGB dump $1. Prints one line per wrong pixel; nothing when all is right.
plane_faults() {
    local rgb=$1 wx=$2 wy=$3
    local k c got
    # The axes, away from the origin and from the edges.
    for c in 20 130 250 410 530 640; do
        plane_line_at "$rgb" "$wx" "$wy" "$AXIS" "$c" "$BLACK" ||
            echo "y axis: plane ($AXIS,$c) is $(plane_pixel "$rgb" "$wx" "$wy" "$AXIS" "$c"), expected black $BLACK"
        plane_line_at "$rgb" "$wx" "$wy" "$c" "$AXIS" "$BLACK" ||
            echo "x axis: plane ($c,$AXIS) is $(plane_pixel "$rgb" "$wx" "$wy" "$c" "$AXIS"), expected black $BLACK"
    done
    # Every grid line on both sides of both axes, crossed half-way between
    # two lines of the other direction.
    local across=$((AXIS - GRID / 2 - 2 * GRID)) along=$((AXIS + GRID / 2 + 2 * GRID))
    for k in 1 2 3 4 5 6 7 8 9; do
        for c in $((AXIS - k * GRID)) $((AXIS + k * GRID)); do
            plane_line_at "$rgb" "$wx" "$wy" "$c" "$across" "$SILVER" ||
                echo "grid column $c: plane ($c,$across) is $(plane_pixel "$rgb" "$wx" "$wy" "$c" "$across"), expected silver $SILVER"
            plane_line_at "$rgb" "$wx" "$wy" "$along" "$c" "$SILVER" ||
                echo "grid row $c: plane ($along,$c) is $(plane_pixel "$rgb" "$wx" "$wy" "$along" "$c"), expected silver $SILVER"
        done
    done
    # Between the lines the plane is neither an axis nor a grid line.
    for c in $((AXIS - 3 * GRID - GRID / 2)) $((AXIS + 4 * GRID + GRID / 2)); do
        got=$(plane_pixel "$rgb" "$wx" "$wy" "$c" "$c")
        if [[ $got == "$BLACK" || $got == "$SILVER" ]]; then
            echo "plane ($c,$c), inside a grid cell, is $got, a line colour"
        fi
    done
}

# Screenshots the screen into $2 until the plane of window $1 is right,
# for a few seconds (the first paint may come a little after the window).
check_plane() {
    local id=$1 png=$2 faults deadline=$((SECONDS + 5))
    content_geometry "$id"
    while :; do
        screenshot "$png"
        faults=$(plane_faults "${png%.png}.rgb" "$WIN_X" "$WIN_Y")
        [[ -z $faults ]] && return 0
        ((SECONDS < deadline)) || break
        sleep 0.5
    done
    printf '%s\n' "$faults" | sed -n '1,12p' >&2
    fail "the plane's axes or grid are wrong in $png ($(printf '%s\n' "$faults" | wc -l) pixels)"
}

# How many pixels of colour $2 (r,g,b) the image $1 has, after the convert
# options $3.. (a crop, say) are applied to it.
colour_pixels() {
    local colour="rgb($2)"
    convert "$1" "${@:3}" -fill black +opaque "$colour" -fill white -opaque "$colour" \
        -format '%[fx:round(mean*w*h)]' info: 2>>"$out/imagemagick.log"
}

# How many pixels of colour $2 (r,g,b) the screenshot $1 has in the
# rectangle left top right bottom $3..$6 of the window at WIN_X,WIN_Y.
count_colour() {
    local l t w h
    l=$(s_lo "$3") t=$(s_lo "$4")
    w=$(($(s_lo "$5") - l)) h=$(($(s_lo "$6") - t))
    colour_pixels "$1" "$2" -crop "${w}x${h}+$((WIN_X + l))+$((WIN_Y + t))" +repage
}

# Fails unless the screenshot $1 shows colour $2 somewhere within 3 pixels
# of plane pixel $3,$4; $5 says what should be there.
expect_on_plane() {
    local n
    n=$(count_colour "$1" "$2" $((PLANE_X + $3 - 3)) $((PLANE_Y + $4 - 3)) $((PLANE_X + $3 + 4)) $((PLANE_Y + $4 + 4)))
    ((n > 0)) || fail "$5: no pixel of colour $2 near plane ($3,$4) in $1"
}

# Fails unless the screenshot $1 has some pixels of colour $2 in the window
# rectangle $3..$6; $7 says what should be there.
expect_in_rect() {
    local n
    n=$(count_colour "$1" "$2" "$3" "$4" "$5" "$6")
    ((n > 0)) || fail "$7: no pixel of colour $2 in ($3,$4)-($5,$6) of $1"
}

readonly RED=255,0,0 AQUA=0,255,255 MAGENTA=255,0,255 PURPLE=128,0,128 MAROON=128,0,0 LIME=0,255,0

# Checks that the window manager shows window $1 (described as $2)
# maximized, filling the work area.
expect_maximized() {
    local state area
    state=$(xprop -id "$1" _NET_WM_STATE)
    [[ $state == *_NET_WM_STATE_MAXIMIZED_VERT* && $state == *_NET_WM_STATE_MAXIMIZED_HORZ* ]] ||
        fail "$2 is not maximized ($state)"
    area=$(xprop -root _NET_WORKAREA | sed -n 's/.* = //p' | cut -d, -f1-4 | tr -d ' ')
    outer_geometry "$1"
    [[ "$OUT_X,$OUT_Y,$OUT_W,$OUT_H" == "$area" ]] || fail "$2 covers $OUT_X,$OUT_Y,$OUT_W,$OUT_H, not the work area $area"
    log "$2 is maximized in the work area $area"
}

# Checks that the window $1 (described as $2) lies wholly on the screen and
# is at least 1.25 times the design's size, and that the grid lines of its
# plane are all equally wide.
expect_enlarged() {
    outer_geometry "$1"
    log "$2: ${OUT_W}x${OUT_H} at ($OUT_X,$OUT_Y) outside"
    ((OUT_X >= 0 && OUT_Y >= 0 && OUT_X + OUT_W <= SCREEN_W && OUT_Y + OUT_H <= SCREEN_H)) ||
        fail "$2 is not wholly on the ${SCREEN_W}x$SCREEN_H screen"
    ((4 * OUT_W >= 5 * DESIGN_W && 4 * OUT_H >= 5 * DESIGN_H)) || fail "$2 is smaller than 1.25 times the design"
    local png="$out/enlarged.png" row widths
    sleep 0.5
    screenshot "$png"
    content_geometry "$1"
    # One screen row across the plane, half-way between two grid rows: the
    # widths of its runs of line colour.
    row=$((WIN_Y + $(s_mid $((PLANE_Y + AXIS - GRID / 2)))))
    widths=$(od -An -tu1 -v -j $(((row * SCREEN_W + WIN_X + $(s_lo "$PLANE_X")) * 3)) -N $(($(s_lo 660) * 3)) \
        "${png%.png}.rgb" | tr -s ' ' '\n' | sed '/^$/d' | paste - - - |
        awk '{ line = ($1 == 192 && $2 == 192 && $3 == 192) ? 1 : 0
               if (line) run++; else if (run) { print run; run = 0 } }' | sort -n | uniq -c)
    log "grid line widths on the screen (count width): $(tr -s ' \n' ' ' <<<"$widths")"
    (($(wc -l <<<"$widths") == 1)) || fail "the grid lines of $2 are not all equally wide"
}

# How many windows are visible besides the ids given: message boxes.
count_other_windows() {
    local ids
    ids=$(other_visible_windows "$@")
    if [[ -z $ids ]]; then echo 0; else wc -l <<<"$ids"; fi
}

# Fails unless exactly $1 message boxes are up besides the windows $3..;
# $2 says when.
expect_boxes() {
    local want=$1 when=$2 got
    shift 2
    got=$(count_other_windows "$@")
    ((got == want)) || fail "$got message boxes are up $when, expected $want"
    log "$want message box(es) up $when"
}

# Under a window manager: the keyboard, the menu's activation, the close
# boxes and a held zoom arrow behind a message box. $1 is the menu's id.
desktop_checks() {
    local menu=$1 id bar_x bar_y
    log "opening the first activity for the keyboard"
    click_control "$menu" "${MENU_FIRST[@]}"
    wait_window "$TITLE_ONE"
    id=$WINDOW
    sleep 0.5
    locate_content "$id"
    # A click on the zoom bar's thumb gives it the focus (the window keeps
    # the focus where it was when it was last hidden). End zooms in to 4
    # units, 165 pixels a unit; Home out to 36.
    click_in "$id" $((48 + 569 / 2)) $((696 + 8))
    sleep 0.3
    xdotool key End
    sleep 0.5
    screenshot "$out/keys-end.png"
    content_geometry "$id"
    expect_on_plane "$out/keys-end.png" "$SILVER" $((AXIS + 165)) 100 "the grid line x = 1 at 165 pixels a unit after End"
    xdotool key Home
    sleep 0.5
    screenshot "$out/keys-home.png"
    expect_on_plane "$out/keys-home.png" "$SILVER" $((AXIS + 18)) 100 "the grid line x = 1 at 18.3 pixels a unit after Home"
    log "End and Home on the zoom bar zoom in and out"
    # Two steps to the right: position 2, 35 units, x = 9 at column 500.
    xdotool key Right
    sleep 0.3
    xdotool key Right
    sleep 0.5
    screenshot "$out/keys-right.png"
    expect_on_plane "$out/keys-right.png" "$SILVER" 500 100 "the grid line x = 9 at 35 units after two right arrows"
    log "the right arrow key steps the zoom to the right"
    # Tab takes the focus to the end button, Return presses it.
    xdotool key Tab Return
    wait_hidden "$id" "$TITLE_ONE"
    log "Tab and Return pressed the end button"

    log "the menu's activation hides the activity"
    click_control "$menu" "${MENU_FIRST[@]}"
    wait_window "$TITLE_ONE"
    id=$WINDOW
    sleep 0.5
    locate_content "$id"
    xdotool windowactivate --sync "$menu" 2>/dev/null || true
    wait_hidden "$id" "$TITLE_ONE"

    log "the close box of the second activity hides it"
    click_control "$menu" "${MENU_SECOND[@]}"
    wait_window "$TITLE_TWO"
    id=$WINDOW
    sleep 0.5
    locate_content "$id"
    xdotool key alt+F4
    wait_hidden "$id" "$TITLE_TWO"
    require_alive "after the close box of an activity"

    log "a held zoom arrow while the diagonal foci's message is up"
    click_control "$menu" "${MENU_SECOND[@]}"
    wait_window "$TITLE_TWO"
    id=$WINDOW
    sleep 0.5
    locate_content "$id"
    raise_diagonal_foci_message "$id"
    sleep 1
    expect_boxes 1 "after the graph button" "$menu" "$id"
    xdotool key Return
    sleep 1
    expect_boxes 0 "after Return closed it" "$menu" "$id"
    content_geometry "$id"
    bar_x=$((WIN_X + 48 + 569 - 8)) bar_y=$((WIN_Y + 696 + 8))
    xdotool mousemove --sync "$bar_x" "$bar_y"
    xdotool mousedown 1
    sleep 2
    expect_boxes 1 "while the arrow is held" "$menu" "$id"
    xdotool key Return
    sleep 1.5
    expect_boxes 0 "after Return, the arrow still held" "$menu" "$id"
    xdotool mouseup 1
    sleep 1
    expect_boxes 0 "after the arrow was let go" "$menu" "$id"
    # A press in the trough, the box closed with Escape.
    xdotool mousemove --sync $((WIN_X + 48 + 100)) "$bar_y"
    xdotool mousedown 1
    sleep 1
    expect_boxes 1 "while the trough is held" "$menu" "$id"
    xdotool key Escape
    sleep 1
    xdotool mouseup 1
    sleep 1
    expect_boxes 0 "after Escape and the release" "$menu" "$id"
    require_alive "after the held zoom bar"
    holds_window "$(visible_windows "$TITLE_TWO")" "$id" || fail "the second activity went away"
    click_control "$id" "${END_BUTTON[@]}"
    wait_hidden "$id" "$TITLE_TWO"
}

# The fixed line y = -2, F (0, 2) and PF : PH = 1 : 1: the parabola
# x^2 = 8y, on which P (4, 2) lies, at 33 pixels a unit.
road_fixed_line() {
    local id=$1 shot=$2
    log "keying the line y = -2, F (0, 2) and PF : PH = 1 : 1, and confirming"
    press_keys "$id" kindright minus 2
    press_toggle "$id" 160 80 49 17
    press_keys "$id" 0
    press_toggle "$id" 232 80 49 17
    press_keys "$id" 2
    press_toggle "$id" 12 152 53 33
    press_keys "$id" 1
    press_toggle "$id" 76 152 53 33
    press_keys "$id" 1 confirm
    # The first click stores P as an afterimage; the repaint of the second
    # finds it and offers the graph button.
    log "clicking P (4, 2), which fits, twice"
    click_plane "$id" $((AXIS + 4 * GRID)) $((AXIS - 2 * GRID))
    click_plane "$id" $((AXIS + 4 * GRID)) $((AXIS - 2 * GRID))
    sleep 0.5
    screenshot "$out/$shot-point.png"
    content_geometry "$id"
    expect_on_plane "$out/$shot-point.png" "$AQUA" 100 $((AXIS + 2 * GRID)) "the fixed line y = -2"
    expect_on_plane "$out/$shot-point.png" "$MAGENTA" $((AXIS + 2 * GRID)) $((AXIS - 2 * GRID)) "the segment F -> P"
    expect_on_plane "$out/$shot-point.png" "$MAGENTA" $((AXIS + 4 * GRID)) $((AXIS + GRID)) "the segment P -> H"
    expect_in_rect "$out/$shot-point.png" "$RED" 10 5 210 25 "the coordinates of P"
    expect_in_rect "$out/$shot-point.png" "$PURPLE" 345 5 700 25 "the ratio and its error"
    log "fixed line, segments and readout are on the screen; drawing the curve"
    click_in "$id" $((691 + 313 / 2)) $((338 + 49 / 2))
    sleep 0.5
    screenshot "$out/$shot-curve.png"
    # (2, 0.5) and (-6, 4.5) lie on the parabola.
    expect_on_plane "$out/$shot-curve.png" "$RED" $((AXIS + 2 * GRID)) $((AXIS - GRID / 2)) "the parabola at (2, 0.5)"
    expect_on_plane "$out/$shot-curve.png" "$RED" $((AXIS - 6 * GRID)) $((AXIS - 9 * GRID / 2)) "the parabola at (-6, 4.5)"
    log "the parabola is drawn ($out/$shot-curve.png)"
}

# F1 (0, 3), F2 (0, -3) and the sum 10: the ellipse x^2/16 + y^2/25 = 1,
# on which P (4, 0) lies.
road_two_points() {
    local id=$1 shot=$2
    log "keying F1 (0, 3), F2 (0, -3) and the sum 10, and confirming"
    press_keys "$id" 0
    press_toggle "$id" 240 24 49 17
    press_keys "$id" 3
    press_toggle "$id" 160 80 49 17
    press_keys "$id" 0
    press_toggle "$id" 240 80 49 17
    press_keys "$id" minus 3
    press_toggle "$id" 8 152 161 33
    press_keys "$id" kindleft 1 0 confirm
    log "clicking P (4, 0), which fits, twice"
    click_plane "$id" $((AXIS + 4 * GRID)) "$AXIS"
    click_plane "$id" $((AXIS + 4 * GRID)) "$AXIS"
    sleep 0.5
    screenshot "$out/$shot-point.png"
    content_geometry "$id"
    # Half-way along P -> F1 and F2 -> P.
    expect_on_plane "$out/$shot-point.png" "$MAGENTA" $((AXIS + 2 * GRID)) $((AXIS - 3 * GRID / 2)) "the segment F1 -> P"
    expect_on_plane "$out/$shot-point.png" "$MAGENTA" $((AXIS + 2 * GRID)) $((AXIS + 3 * GRID / 2)) "the segment P -> F2"
    expect_in_rect "$out/$shot-point.png" "$RED" 10 5 210 25 "the coordinates of P"
    expect_in_rect "$out/$shot-point.png" "$PURPLE" 345 5 700 25 "the sum and its error"
    log "segments and readout are on the screen; drawing the curve"
    click_control "$id" "${GRAPH_BUTTON_TWO[@]}"
    sleep 0.5
    screenshot "$out/$shot-curve.png"
    expect_on_plane "$out/$shot-curve.png" "$RED" "$AXIS" $((AXIS - 5 * GRID)) "the ellipse at (0, 5)"
    expect_on_plane "$out/$shot-curve.png" "$RED" $((AXIS - 4 * GRID)) "$AXIS" "the ellipse at (-4, 0)"
    log "the ellipse is drawn ($out/$shot-curve.png)"
}

# Where each activity showed its plane on the screen, by title.
declare -A PLANE_AT=()

# Opens an activity from the menu, checks it and closes it again.
#   $1 menu window id, $2 the menu button's name, $3 window title, $4
#   screenshot name, $5 the road to follow in it, $6.. the menu button as
#   left top width height
run_activity() {
    local menu=$1 what=$2 title=$3 shot=$4 road=$5 id extra
    shift 5
    log "clicking the menu's $what button"
    click_control "$menu" "$@"
    wait_window "$title"
    id=$WINDOW
    log "window \"$title\" is visible (id $id)"
    locate_content "$id"
    PLANE_AT[$title]="$PLANE_SX,$PLANE_SY"
    if scaled; then
        expect_enlarged "$id" "the window \"$title\""
    else
        expect_geometry "$id" "the window \"$title\"" 0 0 "$SCREEN_W" "$SCREEN_H"
    fi
    if [[ -n $wm && $title == "$TITLE_TWO" ]]; then
        expect_maximized "$id" "the window \"$title\""
    fi

    check_plane "$id" "$out/$shot.png"
    log "axes and grid of the plane are right ($out/$shot.png)"

    "$road" "$id" "$shot"
    require_alive "on the road through \"$title\""
    extra=$(other_visible_windows "$menu" "$id")
    [[ -z $extra ]] || fail "a window \"$(xdotool getwindowname "${extra%%$'\n'*}" 2>/dev/null)\" appeared on the road through \"$title\""
    holds_window "$(visible_windows "$title")" "$id" || fail "the window \"$title\" disappeared on its road"

    log "clicking the end button 終わる"
    click_control "$id" "${END_BUTTON[@]}"
    wait_hidden "$id" "$title"
    log "window \"$title\" is hidden"
    require_alive "after the end button of \"$title\""
}

# Fails unless both activities showed the plane at the same place on the
# screen: a maximized window shows its content where the other, centred on
# the screen, shows it.
# Where Qt scales by a fraction, it places windows and reads the window
# manager's frames in whole logical pixels, which may put the two a device
# pixel apart.
expect_same_plane() {
    local x1 y1 x2 y2 slack=0 dx dy
    IFS=, read -r x1 y1 <<<"${PLANE_AT[$TITLE_ONE]}"
    IFS=, read -r x2 y2 <<<"${PLANE_AT[$TITLE_TWO]}"
    [[ -n $scaling && $scaling != qt:1 ]] && slack=1
    dx=$((x1 - x2)) dy=$((y1 - y2))
    ((${dx#-} <= slack && ${dy#-} <= slack)) ||
        fail "the activities show their planes at different places: ($x1,$y1) and ($x2,$y2)"
    log "both activities show the plane at ($x1,$y1) and ($x2,$y2) on the screen"
}

# Fails unless window $1 (described as $2), frame included, and the zoom
# bar in it lie wholly on the screen.
expect_on_screen() {
    outer_geometry "$1"
    log "$2: ${OUT_W}x${OUT_H} at ($OUT_X,$OUT_Y) outside"
    ((OUT_X >= 0 && OUT_Y >= 0 && OUT_X + OUT_W <= SCREEN_W && OUT_Y + OUT_H <= SCREEN_H)) ||
        fail "$2 (${OUT_W}x${OUT_H} at ($OUT_X,$OUT_Y)) is not wholly on the ${SCREEN_W}x$SCREEN_H screen"
    [[ $2 == "the menu" ]] && return 0
    local client_bottom client_right
    window_geometry "$1"
    client_right=$((WIN_X + WIN_W)) client_bottom=$((WIN_Y + WIN_H))
    content_geometry "$1"
    # The zoom bar: design (48, 696) to (617, 713) of the content.
    local left=$((WIN_X + $(s_lo 48))) top=$((WIN_Y + $(s_lo 696)))
    local right=$((WIN_X + $(s_hi 616))) bottom=$((WIN_Y + $(s_hi 712)))
    ((left >= 0 && top >= 0 && right < SCREEN_W && bottom < SCREEN_H && right < client_right && bottom < client_bottom)) ||
        fail "the zoom bar of $2, ($left,$top)-($right,$bottom), is not wholly on the screen and in the window"
    log "$2 and its zoom bar, ($left,$top)-($right,$bottom), are on the screen"
}

# Prints "first last": the first and the last screen pixel from $1 to $2
# that have the colour $5, along row ($3 row) or column ($3 column) $4 of
# the last grab_region (counted from its corner): where a line crosses it.
line_pixels() {
    local lo=$1 hi=$2 along=$3 at=$4 colour=$5 base
    if [[ $along == row ]]; then base=$REGION_X; else base=$REGION_Y; fi
    region_line "$REGION_PNG" "$along" "$at" |
        awk -v c="$colour" -v lo=$((lo - base)) -v hi=$((hi - base)) -v b="$base" \
            'NR - 1 >= lo && NR - 1 <= hi && $0 == c { if (first == "") first = NR - 1; last = NR - 1 }
             END { if (first != "") print first + b, last + b }'
}

# Presses at screen pixel ($1,$2) and screenshots the 25 x 25 pixels around
# the crossing, whose line pixels start at ($3,$4), into $5; sets MAROON_N
# and LIME_N to how many pixels of F1's and of P's marker it shows.
press_near_crossing() {
    click_at "$1" "$2"
    sleep 0.4
    grab_region "$5" $(($3 - 12)) $(($4 - 12)) 25 25
    MAROON_N=$(colour_pixels "$5" "$MAROON")
    LIME_N=$(colour_pixels "$5" "$LIME")
}

# In the second activity ($1): every screen pixel of the drawn grid
# crossing (2, 4) selects P = (2, 4). F1 is put on (2, 4), so that its
# marker lies exactly under P's when P is (2, 4), and shows beside it when
# P is a pixel off.
crossing_checks() {
    local id=$1 png="$out/crossing.png" cx cy half columns rows c0 c1 r0 r1 x y n
    find_plane "$id"
    # The region reaches past the rows and columns sampled below, half a
    # grid cell from the crossing, at every scale.
    half=$(($(s_mid 16) + 24))
    cx=$((PLANE_SX + $(s_mid 396))) cy=$((PLANE_SY + $(s_mid 198)))
    grab_region "$png" $((cx - half)) $((cy - half)) $((2 * half + 1)) $((2 * half + 1))
    REGION_PNG=$png
    # The line x = 2 crossed half a grid cell below, the line y = 4 half a
    # grid cell to the right.
    columns=$(line_pixels $((cx - 4)) $((cx + 4)) row $((half + $(s_mid 16))) "$SILVER")
    rows=$(line_pixels $((cy - 4)) $((cy + 4)) column $((half + $(s_mid 16))) "$SILVER")
    [[ -n $columns && -n $rows ]] || fail "the grid crossing (2, 4) is not on the screen near ($cx,$cy) ($png)"
    read -r c0 c1 <<<"$columns"
    read -r r0 r1 <<<"$rows"
    log "the grid crossing (2, 4) is screen pixels ($c0..$c1, $r0..$r1)"
    # The design pixel (396, 198) it is drawn on: the plane's device pixels
    # from the edge of design pixel 396 to that of 397, 198 to 199.
    local x0=$((PLANE_SX + $(s_edge 396))) x1=$((PLANE_SX + $(s_edge 397) - 1))
    local y0=$((PLANE_SY + $(s_edge 198))) y1=$((PLANE_SY + $(s_edge 199) - 1))
    ((c0 >= x0 && c1 <= x1 && r0 >= y0 && r1 <= y1)) ||
        fail "the crossing (2, 4), ($c0..$c1, $r0..$r1), is drawn beyond its design pixel ($x0..$x1, $y0..$y1)"
    # F1 (2, 4), F2 (-3, -4) and the difference 1: F1's marker (maroon)
    # appears with the next click on the plane.
    press_keys "$id" 2
    press_toggle "$id" 240 24 49 17
    press_keys "$id" 4
    press_toggle "$id" 160 80 49 17
    press_keys "$id" minus 3
    press_toggle "$id" 240 80 49 17
    press_keys "$id" minus 4
    press_toggle "$id" 8 152 161 33
    press_keys "$id" kindright 1 confirm
    click_plane "$id" 600 100
    sleep 0.5
    grab_region "$png" $((c0 - 12)) $((r0 - 12)) 25 25
    n=$(colour_pixels "$png" "$MAROON")
    if ((n == 0)); then
        screenshot "$out/no-marker.png"
        fail "no marker of F1 on the crossing (2, 4) ($png, $out/no-marker.png)"
    fi
    local crossing="$out/crossing-press.png"
    for ((y = y0; y <= y1; y++)); do
        for ((x = x0; x <= x1; x++)); do
            press_near_crossing "$x" "$y" "$c0" "$r0" "$crossing"
            ((LIME_N > 0)) || fail "no marker of P after a press on screen pixel ($x,$y) of the crossing ($crossing)"
            ((MAROON_N == 0)) || fail "a press on screen pixel ($x,$y) of the crossing (2, 4)'s design pixel put P beside it: $MAROON_N pixels of F1's marker show ($crossing)"
            log "a press on screen pixel ($x,$y) of the crossing's design pixel puts P on (2, 4)"
        done
    done
    # The check sees a point one pixel off: a press beside the crossing.
    x=$((x0 - 1))
    press_near_crossing "$x" "$r0" "$c0" "$r0" "$crossing"
    ((MAROON_N > 0)) || fail "a press beside the crossing, at ($x,$r0), left F1's marker hidden"
}

# With the desktop's scaling: both activities wholly on the screen with
# their zoom bars, the plane at the same place in both, and exact presses
# on a grid crossing. $1 is the menu's id.
scaling_checks() {
    local menu=$1 id
    expect_on_screen "$menu" "the menu"
    screenshot "$out/menu.png"
    log "clicking the menu's first button"
    click_control "$menu" "${MENU_FIRST[@]}"
    wait_window "$TITLE_ONE"
    id=$WINDOW
    locate_content "$id"
    PLANE_AT[$TITLE_ONE]="$PLANE_SX,$PLANE_SY"
    expect_on_screen "$id" "the window \"$TITLE_ONE\""
    check_plane "$id" "$out/activity1.png"
    click_control "$id" "${END_BUTTON[@]}"
    wait_hidden "$id" "$TITLE_ONE"

    wait_window Orvalis
    menu=$WINDOW
    log "clicking the menu's second button"
    click_control "$menu" "${MENU_SECOND[@]}"
    wait_window "$TITLE_TWO"
    id=$WINDOW
    locate_content "$id"
    PLANE_AT[$TITLE_TWO]="$PLANE_SX,$PLANE_SY"
    [[ -n $wm ]] && expect_maximized "$id" "the window \"$TITLE_TWO\""
    expect_on_screen "$id" "the window \"$TITLE_TWO\""
    check_plane "$id" "$out/activity2.png"
    [[ -n $wm ]] && expect_same_plane
    crossing_checks "$id"
    require_alive "after the presses on the crossing"
    click_control "$id" "${END_BUTTON[@]}"
    wait_hidden "$id" "$TITLE_TWO"
}

# ---------------------------------------------------------------- program
start_program "$program" ${program_env[@]+"${program_env[@]}"}

wait_window Orvalis
menu=$WINDOW
log "menu window is visible (id $menu)"
# The largest factor at which the design fits the (whole, panel-less)
# screen, never below 1.
if ((SCREEN_W * DESIGN_H >= SCREEN_H * DESIGN_W)); then
    SCALE_NUM=$SCREEN_H SCALE_DEN=$DESIGN_H
else
    SCALE_NUM=$SCREEN_W SCALE_DEN=$DESIGN_W
fi
if [[ -n $scaling ]]; then
    scaling_checks "$menu"
else
    if scaled; then
        log "the program should be enlarged $SCALE_NUM/$SCALE_DEN times"
        menu_side=$(((2 * MENU_W * SCALE_NUM + SCALE_DEN) / (2 * SCALE_DEN)))
        expect_geometry "$menu" "the menu" 0 0 "$menu_side" "$menu_side"
    else
        expect_geometry "$menu" "the menu" 0 0 "$MENU_W" "$MENU_H"
    fi
    screenshot "$out/menu.png"

    run_activity "$menu" first "$TITLE_ONE" activity1 road_fixed_line "${MENU_FIRST[@]}"
    if [[ ${ORVALIS_UPDATE_SCREENSHOT:-} == 1 ]]; then
        cp "$out/activity1-curve.png" "$here/../../docs/screenshot.png"
        log "updated docs/screenshot.png"
    fi

    wait_window Orvalis
    menu=$WINDOW
    run_activity "$menu" second "$TITLE_TWO" activity2 road_two_points "${MENU_SECOND[@]}"

    if [[ -n $wm ]]; then
        expect_same_plane
        wait_window Orvalis
        desktop_checks "$WINDOW"
    fi
fi

wait_window Orvalis
menu=$WINDOW
if [[ -n $wm ]]; then
    # The menu's close box ends the run.
    xdotool windowactivate --sync "$menu" 2>/dev/null || true
    xdotool key alt+F4
else
    log "clicking the menu's quit button"
    click_control "$menu" "${MENU_QUIT[@]}"
fi
expect_clean_exit "its quit button was clicked"
log "PASS"
