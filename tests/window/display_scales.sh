#!/usr/bin/env bash
# The dialogs at every display scale on every screen size, in the Korean locale:
# one Wine session per scale, screen and stand-in face for "맑은 고딕", each on a
# virtual display of that size in a prefix of its own, running the DisplayFit
# window tests once. The taller face shows that what fits here also fits with
# the real one. Prints one line per session and what each dialog got.
# Usage: display_scales.sh ROOT window_tests.exe
set -uo pipefail
ROOT="${1:?usage: display_scales.sh ROOT window_tests.exe}"
TESTS="${2:?usage: display_scales.sh ROOT window_tests.exe}"
source "$ROOT/scripts/common.sh"

export WINEPREFIX="$BUILD/wineprefix-scales"
SCREENS=(1280x720 1366x768 1920x1080 3840x2160)
FACES=("$KOREAN_FACE" "$TALL_KOREAN_FACE")
SCALES=(96 120 144 192)
OUT="$BUILD/display-scales"
mkdir -p "$OUT"

trap 'stop_wine; stop_private_display' EXIT
# Creates the prefix once and exports the session's locale. No window manager
# moves or decorates Wine's windows here: the frames are Wine's own, as on
# Windows, and every window stands where the program put it.
start_wine_server
write_registry_file "$BUILD/unmanaged.reg" '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"'
import_registry_file "$BUILD/unmanaged.reg"
stop_wine

passed=0 failed=0
for screen in "${SCREENS[@]}"; do
  start_private_display "$screen"
  for face in "${FACES[@]}"; do
    for dpi in "${SCALES[@]}"; do
      session="$screen, $((dpi * 100 / 96)) %, $face"
      log="$OUT/${screen}-${dpi}-${face// /_}.log"
      set_display_scale "$dpi" "$face"
      if PULMETRA_EXPECTED_DPI="$dpi" PULMETRA_EXPECTED_SCREEN="$screen" \
          in_wine_locale wine "$TESTS" --gtest_filter='DisplayFit.*' </dev/null >"$log" 2>&1; then
        passed=$((passed + 1))
        echo "passed: $session"
      else
        failed=$((failed + 1))
        echo "FAILED: $session"
        grep -E 'Failure|Expected|Actual|Which is|Value of|error:' "$log" | head -20
      fi
      tr -d '\r' <"$log" | sed -n 's/^\[ display  \] /    /p'
    done
  done
  stop_wine
  stop_private_display
done
echo "$passed sessions passed, $failed failed"
[ "$failed" -eq 0 ]
