#!/usr/bin/env bash
# At 125 % on a 1920 x 1080 screen, where the form in its own font would be
# taller than the screen: the form opens whole on the screen, a real click on
# 판독문 opens the report dialog, and that lies on the screen too. A Wine session
# of its own, in a prefix of its own, on a virtual display of that size.
SCREEN=(1920 1080)
E2E_SCREEN="${SCREEN[0]}x${SCREEN[1]}"
E2E_DPI=120
source "$(dirname "$0")/e2e_lib.sh"

# The window with its window manager's frame lies within the screen.
expect_on_screen() {  # window, what it is
  local x y width height frame
  x=$(xwininfo -id "$1" | awk '/Absolute upper-left X/ { print $NF }')
  y=$(xwininfo -id "$1" | awk '/Absolute upper-left Y/ { print $NF }')
  eval "$(xdotool getwindowgeometry --shell "$1" | grep -E '^(WIDTH|HEIGHT)=')"
  width=$WIDTH height=$HEIGHT
  # left, right, top, bottom
  read -r -a frame < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ',')
  [ "${#frame[@]}" -eq 4 ] || frame=(0 0 0 0)
  if (( x - frame[0] < 0 || y - frame[2] < 0 ||
        x + width + frame[1] > SCREEN[0] || y + height + frame[3] > SCREEN[1] )); then
    fail "$2 is not on the screen: client area ${width}x${height} at ($x, $y), frame ${frame[*]}"
  fi
  echo "$2: client area ${width}x${height} at ($x, $y)"
}

start_program
step "the form lies on the screen"
expect_on_screen "$FORM" "the form"

step "click 판독문"
click_form 453 439 50 14
REPORT=$(wait_window "$REPORT_TITLE") || fail "the report dialog did not open"
step "the report dialog lies on the screen"
expect_on_screen "$REPORT" "the report dialog"

step "취소"
click_report 308 211 50 14
wait_gone "$REPORT_TITLE" || fail "the report dialog did not close on 취소"

exit_program
echo "$SCENARIO: at 125 % on ${SCREEN[0]}x${SCREEN[1]} the form and the report dialog lie on the screen"
