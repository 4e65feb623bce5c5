# Shared steps of the end-to-end runs: the built Pulmetra.exe under Wine, driven
# only by real X11 keyboard and mouse input (xdotool), its report read back from
# the X clipboard (xclip). Sourced by each scenario; needs the display, Wine
# prefix and environment that ./test.sh exports, unless the run has a screen of
# its own: E2E_SCREEN=WIDTHxHEIGHT and E2E_DPI (96 unless given) give it a Wine
# session of its own, in a prefix of its own, on a virtual display of that size.
set -uo pipefail

EXE="${1:?usage: $0 path/to/Pulmetra.exe path/to/set_clipboard_text.exe}"
SET_CLIPBOARD="${2:?usage: $0 path/to/Pulmetra.exe path/to/set_clipboard_text.exe}"
SCENARIO="$(basename "$0" .sh)"
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
if [ -n "${E2E_SCREEN:-}" ]; then
  source "$ROOT/scripts/common.sh"
  E2E_DPI="${E2E_DPI:-96}"
  SCENARIO+="-$E2E_SCREEN-$E2E_DPI"
  export WINEPREFIX="$BUILD/wineprefix-e2e-$E2E_SCREEN-$E2E_DPI"
  start_private_display "$E2E_SCREEN"
  start_wine_server
  set_display_scale "$E2E_DPI"
  start_wine
  trap 'cleanup; stop_wine; stop_private_display' EXIT
else
  : "${DISPLAY:?no DISPLAY: run under ./test.sh, which starts the virtual display}"
  : "${WINEPREFIX:?no WINEPREFIX: run under ./test.sh, which prepares the Wine prefix}"
  # Wine's locale for the program, from the shared set-up; the prefix stays the one the caller prepared.
  PREPARED_PREFIX="$WINEPREFIX"
  source "$ROOT/scripts/common.sh"
  export WINEPREFIX="$PREPARED_PREFIX"
  trap 'cleanup' EXIT
fi

FORM_TITLE="^Pulmetra 계산기 \\(v${PULMETRA_VERSION//./\\.}\\)\$"
BOX_TITLE='^Pulmetra$'
REPORT_TITLE='^판독문$'
# The templates' sizes in dialog units; the client areas scale them.
FORM_DLU=(622 460)
REPORT_DLU=(365 232)
KEY_PAUSE=0.25
TYPE_DELAY_MS=30

# Where the form scrolls, its client area no longer tells the scale of its
# layout: the run names its dialog base units instead (E2E_FORM_UNITS="6 15",
# pixels per 4 and per 8 dialog units), and FORM_SCROLL is how far the view is
# scrolled down, in pixels, as the steps below leave it.
FORM_SCROLL=0
PROGRAM_PID=
INPUT_METHOD_PID=
LIST=
PROGRAM_ENV=()
STEP="start"

cleanup() {
  local pid
  for pid in "$PROGRAM_PID" "$INPUT_METHOD_PID"; do
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
    fi
  done
  PROGRAM_PID= INPUT_METHOD_PID=
}

fail() {
  local shot="${E2E_SHOT_DIR:-$PWD}/$SCENARIO-failure.png"
  import -window root "$shot" 2>/dev/null || shot="(no screenshot)"
  echo "FAILED at step '$STEP': $*" >&2
  echo "screenshot: $shot" >&2
  cleanup
  exit 1
}

step() { STEP="$*"; }

# The id of the visible window whose title matches, once it appears (10 s at most).
wait_window() {
  local pattern="$1" id deadline=$((SECONDS + 10))
  while [ "$SECONDS" -lt "$deadline" ]; do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1)
    if [ -n "$id" ]; then
      # Input goes to the active window; wait until the window manager made it so.
      local i
      for i in $(seq 50); do
        [ "$(xdotool getactivewindow 2>/dev/null)" = "$id" ] && break
        sleep 0.05
      done
      sleep "$KEY_PAUSE"
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

wait_gone() {
  local pattern="$1" deadline=$((SECONDS + 10))
  while [ "$SECONDS" -lt "$deadline" ]; do
    xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# Moves the pointer to a point given in the template's dialog units; the window's
# client area is the template's size in pixels, so units scale by its width and height.
move_dlu() {  # window, template width dlu, template height dlu, x dlu, y dlu
  local win="$1" wdlu="$2" hdlu="$3" x="$4" y="$5" WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$win" | grep -E '^(WIDTH|HEIGHT)=')"
  local px=$(( (x * WIDTH + wdlu / 2) / wdlu )) py=$(( (y * HEIGHT + hdlu / 2) / hdlu ))
  xdotool mousemove --window "$win" "$px" "$py"
}

click_dlu() {  # window, template width dlu, template height dlu, x dlu, y dlu
  move_dlu "$@"
  xdotool click 1
  sleep "$KEY_PAUSE"
}

# A point of the form given in dialog units: rounded to pixels as the dialog
# manager rounds them, less the view's scroll, where the run names the units.
move_form() {  # x, y in dialog units
  if [ -z "${E2E_FORM_UNITS:-}" ]; then
    move_dlu "$FORM" "${FORM_DLU[@]}" "$1" "$2"
    return
  fi
  local cx cy
  read -r cx cy <<<"$E2E_FORM_UNITS"
  xdotool mousemove --window "$FORM" $(( ($1 * cx + 2) / 4 )) $(( ($2 * cy + 4) / 8 - FORM_SCROLL ))
}

click_form_at() {  # x, y in dialog units
  move_form "$@"
  xdotool click 1
  sleep "$KEY_PAUSE"
}

# A control of the form, clicked at the centre of its template rectangle.
click_form() {  # x, y, width, height in dialog units
  click_form_at $(( $1 + $3 / 2 )) $(( $2 + $4 / 2 ))
}

# A check box of the form, clicked on its box at the left end.
tick_form() {  # x, y of the check box in dialog units
  click_form_at $(( $1 + 5 )) $(( $2 + 5 ))
}

# The form's view to its end or back to its top with Page Down or Page Up,
# which the form takes from a check box or a button, where the focus must be.
# At its end the layout's last row stands at the client area's bottom edge.
# Where the form fits, the keys do nothing.
form_view_to_end() {
  keys Next Next Next
  [ -n "${E2E_FORM_UNITS:-}" ] || return 0
  local cx cy HEIGHT
  read -r cx cy <<<"$E2E_FORM_UNITS"
  eval "$(xdotool getwindowgeometry --shell "$FORM" | grep -E '^HEIGHT=')"
  FORM_SCROLL=$(( (FORM_DLU[1] * cy + 4) / 8 - HEIGHT ))
  (( FORM_SCROLL > 0 )) || FORM_SCROLL=0
}

form_view_to_top() {
  keys Prior Prior Prior
  FORM_SCROLL=0
}

# Notches of the wheel up over the form's face, in the gap between its left and
# right groups: where the form scrolls, each moves the view three lines of 8
# dialog units back towards its top.
form_wheel_up() {  # notches
  move_form 395 250
  local n
  for n in $(seq "$1"); do
    xdotool click 4
    sleep "$KEY_PAUSE"
  done
  [ -n "${E2E_FORM_UNITS:-}" ] || return 0
  local cx cy
  read -r cx cy <<<"$E2E_FORM_UNITS"
  FORM_SCROLL=$(( FORM_SCROLL - $1 * 3 * ((8 * cy + 4) / 8) ))
  (( FORM_SCROLL > 0 )) || FORM_SCROLL=0
}

# A check box of the form that the lower edge of the view cuts, clicked on the
# part that shows. Where the form fits there is no edge, and the box is ticked
# as any other.
tick_form_cut_by_lower_edge() {  # x, y of the check box in dialog units
  if [ -z "${E2E_FORM_UNITS:-}" ]; then
    tick_form "$1" "$2"
    return
  fi
  local cx cy HEIGHT
  read -r cx cy <<<"$E2E_FORM_UNITS"
  eval "$(xdotool getwindowgeometry --shell "$FORM" | grep -E '^HEIGHT=')"
  local top=$(( ($2 * cy + 4) / 8 - FORM_SCROLL )) bottom=$(( (($2 + 10) * cy + 4) / 8 - FORM_SCROLL ))
  (( top < HEIGHT && bottom > HEIGHT )) || fail "the box at $2 is not cut by the view's edge: $top to $bottom of $HEIGHT"
  xdotool mousemove --window "$FORM" $(( (($1 + 5) * cx + 2) / 4 )) $(( (top + HEIGHT) / 2 ))
  xdotool click 1
  sleep "$KEY_PAUSE"
}

click_report() {  # x, y, width, height in dialog units of the report dialog
  click_dlu "$REPORT" "${REPORT_DLU[@]}" $(( $1 + $3 / 2 )) $(( $2 + $4 / 2 ))
}

# The open list of a drop-down combo box: the program's one visible window
# without a title.
dropped_list() {
  local id
  for id in $(xdotool search --onlyvisible --classname 'pulmetra' 2>/dev/null); do
    [ -z "$(xdotool getwindowname "$id" 2>/dev/null)" ] && { echo "$id"; return 0; }
  done
  return 1
}

# Opens a drop-down list with a click, which leaves the pointer on the box;
# LIST is the open list's window.
open_combo() {  # x, y, width of the combo in dialog units
  click_form "$1" "$2" "$3" 12
  local i
  for i in $(seq 50); do LIST=$(dropped_list) && return 0; sleep 0.05; done
  fail "the drop-down list did not open"
}

# Opens a drop-down list with a click and rests the pointer on an item; the
# list follows the pointer without telling the form.
point_in_combo() {  # x, y, width of the combo in dialog units, item index, item count
  open_combo "$1" "$2" "$3"
  local WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$LIST" | grep -E '^(WIDTH|HEIGHT)=')"
  xdotool mousemove --window "$LIST" $(( WIDTH / 2 )) $(( (2 * $4 + 1) * HEIGHT / (2 * $5) ))
  sleep "$KEY_PAUSE"
}

wait_list_closed() {
  local i
  for i in $(seq 50); do dropped_list >/dev/null || break; sleep 0.05; done
  sleep "$KEY_PAUSE"
}

# Opens a drop-down list with a click and clicks its item.
choose_in_combo() {  # x, y, width of the combo in dialog units, item index, item count
  point_in_combo "$@"
  xdotool click 1
  wait_list_closed
}

# Opens a drop-down list with a click, rests the pointer on the item and
# presses Enter, which the list takes for the item under the pointer.
choose_in_combo_with_enter() {  # x, y, width of the combo in dialog units, item index, item count
  point_in_combo "$@"
  xdotool key Return
  wait_list_closed
}

# A row of the nodule list, clicked in its first column. The rows lie below the
# list's header, each as tall as the header's text line.
click_nodule_row() {  # row index
  click_form_at 40 $(( 52 + 14 + 9 * $1 ))
}

keys() {
  local k
  for k in "$@"; do
    xdotool key "$k"
    sleep "$KEY_PAUSE"
  done
}

# Keys pressed while a modifier is held, as a person holds Ctrl: an input method
# that takes a key and hands it on later must still find the modifier down.
keys_holding() {  # modifier, keys...
  local modifier="$1" k
  shift
  xdotool keydown "$modifier"
  sleep "$KEY_PAUSE"
  for k in "$@"; do
    xdotool key "$k"
    sleep "$KEY_PAUSE"
  done
  xdotool keyup "$modifier"
  sleep "$KEY_PAUSE"
}

# Keys held down as a person holds them, until the X server has repeated the
# last one many times: Wine hands each repeat on as a key-down of a key that
# was already down, as Windows does.
hold_keys() {  # keys joined as xdotool joins them (ctrl+Return)
  xset r on
  local delay rate
  read -r delay rate < <(xset q | sed -n 's/.*auto repeat delay: *\([0-9]*\) *repeat rate: *\([0-9]*\).*/\1 \2/p')
  local held_ms=$(( delay + 20 * 1000 / rate ))
  xdotool keydown "$1"
  sleep "$(( held_ms / 1000 )).$(printf '%03d' $(( held_ms % 1000 )))"
  xdotool keyup "$1"
  sleep "$KEY_PAUSE"
}

# Typed key by key. Only text on the keyboard's own keys: xdotool types other
# characters (Korean) by remapping a spare key for each, and Wine may translate
# the key after the mapping is already restored, losing the character.
type_text() {
  xdotool type --delay "$TYPE_DELAY_MS" -- "$1"
  sleep "$KEY_PAUSE"
}

# Replaces an edit's text as a reader does: click, select the line, type, Enter.
retype() {  # x, y, width of the edit in dialog units, text
  retype_without_enter "$@"
  keys Return
}

retype_without_enter() {  # x, y, width of the edit in dialog units, text
  click_form "$1" "$2" "$3" 12
  keys Home shift+End
  type_text "$4"
}

# Korean text goes in as a reader without an input method would: copied in
# another program and pasted with Ctrl+V into the control that has the focus.
paste_text() {
  copy_in_other_program "$1"
  keys ctrl+v
}

# Puts the text on the clipboard through Wine's own clipboard and waits until
# the X side shows it too, so that Wine and X agree before anyone reads it.
copy_in_other_program() {
  in_wine_locale wine "$SET_CLIPBOARD" "$1" </dev/null >/dev/null 2>&1 || fail "could not put a text on the clipboard"
  local i
  for i in $(seq 100); do
    [ "$(timeout 5 xclip -o -selection clipboard 2>/dev/null)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "the X clipboard did not show the copied text"
}

# nabi, an X input method for Hangul, in its two-set layout, as the Korean IME:
# started afresh in English mode, and its mode holds across fields as the IME's
# does. Its settings live in the build folder.
start_input_method() {
  step "start the input method"
  local home="$BUILD/nabi-home"
  mkdir -p "$home/.nabi"
  printf 'input_mode_scope=per_desktop\n' >"$home/.nabi/config"
  HOME="$home" nabi </dev/null >/dev/null 2>&1 &
  INPUT_METHOD_PID=$!
  # Its windows come once it serves: the root window's list of input methods
  # outlives a killed one.
  local i
  for i in $(seq 100); do
    xdotool search --classname '^nabi$' >/dev/null 2>&1 && break
    sleep 0.1
  done
  xdotool search --classname '^nabi$' >/dev/null 2>&1 || fail "the input method did not start"
  PROGRAM_ENV=(XMODIFIERS=@im=nabi)
}

# Hangul input mode, kept as the reader keeps it: nabi leaves it on Esc, the
# IME does not. Shift+Space switches.
hangul_mode() {
  xprop -root _HANGUL_INPUT_MODE 2>/dev/null | grep -q '= 2$' || keys shift+space
}

start_program() {
  step "start the program"
  env "${WINE_LOCALE_ENV[@]}" "${PROGRAM_ENV[@]}" wine "$EXE" </dev/null >/dev/null 2>&1 &
  PROGRAM_PID=$!
  FORM=$(wait_window "$FORM_TITLE") || fail "the findings form did not appear"
}

# Puts a text of another program on the clipboard, so that a report that never
# arrives cannot pass for one left from an earlier run.
put_sentinel() {
  copy_in_other_program "$1"
}

# The clipboard as the reporting system would paste it, once it has changed from
# the sentinel; Wine hands out the text as UTF-8 with LF line breaks.
read_clipboard() {  # sentinel, output file
  local deadline=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$deadline" ]; do
    if timeout 5 xclip -o -selection clipboard >"$2" 2>/dev/null && [ "$(cat "$2")" != "$1" ]; then
      sed -i 's/\r$//' "$2"
      return 0
    fi
    sleep 0.1
  done
  fail "the clipboard still holds the sentinel text: nothing was copied"
}

# Compares the clipboard's text with the expected report, byte for byte.
expect_report() {  # file with the clipboard text, expected text
  local expected_file="$1.expected"
  printf '%s' "$2" >"$expected_file"
  if ! cmp -s "$1" "$expected_file"; then
    diff -u "$expected_file" "$1" >&2
    fail "the report on the clipboard differs from the expected text"
  fi
}

# Every way out asks first; Yes ends the program. With entries on the form
# 아니요 is the default button, so Yes is chosen by its key, not with Enter.
exit_program() {
  step "exit with Escape and Yes"
  xdotool windowactivate --sync "$FORM" 2>/dev/null
  keys Escape
  wait_window "$BOX_TITLE" >/dev/null || fail "Escape did not ask whether to exit"
  keys y
  local i
  for i in $(seq 100); do
    kill -0 "$PROGRAM_PID" 2>/dev/null || { wait "$PROGRAM_PID" 2>/dev/null; PROGRAM_PID=; return 0; }
    sleep 0.1
  done
  fail "the program did not end after Yes"
}
