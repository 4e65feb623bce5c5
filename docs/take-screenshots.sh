#!/usr/bin/env bash
# Retakes the guide's pictures (docs/images/*.png), and the README's picture of
# the form on a 1366 x 768 laptop's screen, from the real Pulmetra.exe under
# Wine in the Korean locale, driven by real X11 input like the end-to-end runs.
# Run from anywhere: ./docs/take-screenshots.sh
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/scripts/common.sh"
mkdir -p "$BUILD"
ensure_packages
build_windows || exit 1

# A Wine session of its own, in the Korean locale of the shared set-up from its
# first process on, so the date picker and the message boxes speak Korean as on
# a hospital PC.
export WINEPREFIX="$BUILD/wineprefix-pictures"
start_private_display
start_wine

# The end-to-end runs' steps: clicks in dialog units, combo items, pasting; they
# find the form by its title, which carries the version the tests expect.
export PULMETRA_VERSION="$(sed -n 's/^set(PULMETRA_VERSION \(.*\))$/\1/p' "$ROOT/tests/CMakeLists.txt")"
source "$ROOT/tests/e2e/e2e_lib.sh" "$WIN32_BUILD/Pulmetra.exe" "$WIN32_BUILD/tests/e2e/set_clipboard_text.exe"
E2E_SHOT_DIR="$BUILD"
trap 'cleanup; stop_wine; stop_private_display' EXIT

IMAGES="$ROOT/docs/images"
mkdir -p "$IMAGES"

# A window as the reader sees it, title bar included; no time stamps in the file,
# so an unchanged picture gives unchanged bytes.
shoot() {  # window id, file name
  sleep 0.5  # let the window finish painting
  import -window "$1" -frame -strip -define png:exclude-chunks=date,time "$IMAGES/$2" \
    || fail "could not take $2"
  echo "docs/images/$2"
}

# The top of a window and what lies over it there (a tooltip is a window of its own).
shoot_top() {  # window id, height in pixels, file name
  local geometry
  geometry=$(xwininfo -id "$1" | awk -v h="$2" '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
    /Width:/ {w = $NF} END {printf "%dx%d+%d+%d", w, h, x, y}')
  import -window root -crop "$geometry" +repage -strip -define png:exclude-chunks=date,time "$IMAGES/$3" \
    || fail "could not take $3"
  echo "docs/images/$3"
}

start_program
shoot "$FORM" empty-form.png

step "a nodule without its lobe: the Report command asks for it"
click_form 280 194 50 14                  # 결절 추가
click_form 449 67 21 12
type_text 7
keys Return
click_form 453 439 50 14                  # 판독문
BOX=$(wait_window "$BOX_TITLE") || fail "no message about the missing lobe"
shoot "$BOX" missing-lobe.png
keys Return

step "a follow-up CT"
choose_in_combo 66 7 69 1 2               # 추적 CT
click_form_at 142 13                      # the year of the prior CT
type_text 2024
keys Right
type_text 3
keys Right
type_text 15
retype 319 7 52 1.2                       # CTDIvol

step "nodule 1: solid 7 x 6 mm, right upper lobe, image 45, growing"
retype 449 67 21 7
type_text 6
keys Return
choose_in_combo 449 82 71 0 5             # 우상엽
retype 553 82 52 45
choose_in_combo 449 114 71 1 3            # 커짐

step "nodule 2: ground-glass 8 x 6 mm, left upper lobe, image 88, unchanged"
click_form 280 194 50 14
choose_in_combo 449 52 71 2 3             # 간유리
retype 449 67 21 8
type_text 6
keys Return
choose_in_combo 449 82 71 3 5             # 좌상엽
retype 553 82 52 88
choose_in_combo 449 114 71 2 3            # 변화없음

step "nodule 3: solid 4 mm, right lower lobe, image 130, unchanged"
click_form 280 194 50 14
retype 449 67 21 4
choose_in_combo 449 82 71 2 5             # 우하엽
retype 553 82 52 130
choose_in_combo 449 114 71 2 3            # 변화없음

step "coronary calcification, Moderate; a comment"
tick_form 14 335                          # 관상동맥 석회화
choose_in_combo 89 334 57 1 3             # Moderate
click_form 409 241 196 64
paste_text "이전 CT와 비교함."
step "back to nodule 1"
click_form_at 60 69                       # the first row of the list, below its header
move_form 200 445                         # off the list, where no tip shows over the picture
shoot "$FORM" follow-up-exam.png

step "the first row's tooltip: the pointer rests on its size column"
move_form 160 69
sleep 2
shoot_top "$FORM" 430 row-tooltip.png

step "the report"
click_form 453 439 50 14                  # 판독문
REPORT=$(wait_window "$REPORT_TITLE") || fail "the report dialog did not open"
shoot "$REPORT" report.png
click_report 308 211 50 14                # 취소
wait_gone "$REPORT_TITLE" || fail "the report dialog did not close"
exit_program

step "the form on a 1366 x 768 laptop's screen at 100 %, where it scrolls"
stop_wine
stop_private_display
export WINEPREFIX="$BUILD/wineprefix-pictures-1366x768"
start_private_display 1366x768
start_wine_server
set_display_scale 96
start_wine
start_program
keys shift+Tab                            # from the first control round to 종료, at the form's foot
sleep 0.5
import -window root -strip -define png:exclude-chunks=date,time "$ROOT/docs/form-1366x768-100.png" \
  || fail "could not take form-1366x768-100.png"
echo "docs/form-1366x768-100.png"
exit_program
