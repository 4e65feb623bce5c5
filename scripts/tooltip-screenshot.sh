#!/usr/bin/env bash
# Makes docs/tooltip.png: the real program under Wine on a private display,
# two nodules entered with real keys (Ctrl+N among them), and the mouse pointer
# resting on the first row until its tooltip shows.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/scripts/common.sh"
mkdir -p "$BUILD"

ensure_packages
build_windows || exit 1
start_private_display
start_wine
trap 'stop_wine; stop_private_display' EXIT

wine "$WIN32_BUILD/Pulmetra.exe" </dev/null >/dev/null 2>&1 &
window=$(timeout 30 xdotool search --sync --onlyvisible --name "Pulmetra" | head -1)
[ -n "$window" ] || { echo "Pulmetra's window did not appear" >&2; exit 1; }
sleep 1
xdotool windowactivate --sync "$window"
keys() { xdotool key --delay 80 "$@"; sleep 0.3; }
typed() { xdotool type --delay 80 "$1"; sleep 0.3; }

# 7 mm, right upper lobe (Down on the lobe list), image 45, spiculated (Space on 1009).
keys ctrl+n; typed 7; keys Return Tab Down Tab; typed 45; keys Tab Tab Tab Tab space
# 4 x 3 mm, right lower lobe.
keys ctrl+n; typed 4; keys Return; typed 3; keys Return Tab Down Down Down

# Over the first row, in the size column; the tooltip shows after a still moment.
xdotool mousemove --window "$window" 300 128
sleep 2
# The tooltip is a window of its own: take the screen where the form is, top part.
geometry=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
  /Width:/ {w = $NF} END {printf "%dx%d+%d+%d", w, 430, x, y}')
mkdir -p "$ROOT/docs"
import -window root -crop "$geometry" +repage "$ROOT/docs/tooltip.png"
echo "Screenshot of a row's tooltip: $ROOT/docs/tooltip.png"
