#!/usr/bin/env bash
# Builds Pulmetra and starts it under Wine. Without a display it runs on a
# private virtual display, saves a screenshot of the form and closes it again.
# SCREEN=WIDTHxHEIGHT and SCALE=percent (100, 125, 150, 200) choose the private
# display's size and the display scale; the screenshot then shows the whole
# screen, and a scale gets a Wine prefix of its own.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/common.sh"
mkdir -p "$BUILD"

ensure_packages
build_windows || exit 1
EXE="$WIN32_BUILD/Pulmetra.exe"

if [ -n "${DISPLAY:-}" ]; then
  start_wine
  in_wine_locale wine "$EXE"
  stop_wine
  exit 0
fi

SHOT="$BUILD/screenshot.png"
start_private_display "${SCREEN:-}"
if [ -n "${SCALE:-}" ]; then
  export WINEPREFIX="$BUILD/wineprefix-$SCALE"
  start_wine_server
  set_display_scale $((SCALE * 96 / 100))
fi
start_wine
trap 'stop_wine; stop_private_display' EXIT

env "${WINE_LOCALE_ENV[@]}" wine "$EXE" </dev/null >/dev/null 2>&1 &
PROGRAM_PID=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name "Pulmetra 계산기" | head -1)
if [ -z "$window" ]; then
  echo "Pulmetra's window did not appear" >&2
  exit 1
fi
sleep 1  # let the form finish painting
if [ -n "${SCREEN:-}${SCALE:-}" ]; then
  SHOT="$BUILD/screenshot-${SCREEN:-1280x1024}-${SCALE:-100}.png"
  import -window root "$SHOT"
else
  import -window "$window" -frame "$SHOT"
fi
echo "Screenshot of the form: $SHOT"

# Close as a person would: Escape asks "종료하시겠습니까?", and Enter answers Yes.
xdotool windowactivate --sync "$window" key Escape 2>/dev/null
sleep 0.5
xdotool key Return
for _ in $(seq 50); do kill -0 "$PROGRAM_PID" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$PROGRAM_PID" 2>/dev/null; then
  echo "Pulmetra did not close" >&2
  exit 1
fi
echo "Pulmetra closed."
