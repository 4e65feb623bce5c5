#!/usr/bin/env bash
# The dialogs at every display scale on every screen size, in the Korean locale:
# one Wine session per scale, screen and stand-in face for "맑은 고딕", each on a
# virtual display of that size in a prefix of its own, running the DisplayFit
# window tests once. The face with Malgun Gothic's measures shows what a reader
# gets; NanumGothic, narrower and shorter, and Noto Sans CJK KR, taller, show
# that the checks hold on either side of it. Prints one line per session and
# what each dialog got.
# Usage: display_scales.sh ROOT window_tests.exe
set -uo pipefail
ROOT="${1:?usage: display_scales.sh ROOT window_tests.exe}"
TESTS="${2:?usage: display_scales.sh ROOT window_tests.exe}"
source "$ROOT/scripts/common.sh"

export WINEPREFIX="$BUILD/wineprefix-scales"
SCREENS=(1280x720 1366x768 1280x1024 1920x1080 3840x2160)
FACES=("$KOREAN_FACE" "$NARROW_KOREAN_FACE" "$TALL_KOREAN_FACE")
SCALES=(96 120 144 192)
# Where the form scrolls furthest, the scrolling form's own tests run too.
SCROLL_SESSION="1280x720 96 $KOREAN_FACE"
# A screen narrower than the form, where it scrolls across as well: once, as a reader's.
NARROW_SCREEN=800x600
OUT="$BUILD/display-scales"
mkdir -p "$OUT"

trap 'stop_wine; stop_private_display' EXIT

# No window manager moves or decorates Wine's windows in the matrix: the frames
# are Wine's own, as on Windows, and every window stands where the program put
# it. The scrolling form's tests answer message boxes as a reader does, and the
# activation comes back to the form only from a window manager.
manage_windows() {  # Y or N
  write_registry_file "$BUILD/managed.reg" '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' "\"Managed\"=\"$1\""
  import_registry_file "$BUILD/managed.reg"
  stop_wine
}

passed=0 failed=0
run_tests() {  # what, log file, gtest filter; the session's screen and dpi set
  if PULMETRA_EXPECTED_DPI="$dpi" PULMETRA_EXPECTED_SCREEN="$screen" \
      in_wine_locale wine "$TESTS" --gtest_filter="$3" </dev/null >"$2" 2>&1; then
    passed=$((passed + 1))
    echo "passed: $1"
  else
    failed=$((failed + 1))
    echo "FAILED: $1"
    grep -E 'Failure|Expected|Actual|Which is|Value of|error:' "$2" | head -20
  fi
  tr -d '\r' <"$2" | sed -n 's/^\[ display  \] /    /p'
}

# Creates the prefix once and exports the session's locale.
start_wine_server
manage_windows N
for screen in "${SCREENS[@]}" "$NARROW_SCREEN"; do
  faces=("${FACES[@]}") scales=("${SCALES[@]}")
  [ "$screen" = "$NARROW_SCREEN" ] && faces=("$KOREAN_FACE") scales=(96)
  start_private_display "$screen"
  for face in "${faces[@]}"; do
    for dpi in "${scales[@]}"; do
      session="$screen, $((dpi * 100 / 96)) %, $face"
      log="$OUT/${screen}-${dpi}-${face// /_}.log"
      set_display_scale "$dpi" "$face"
      run_tests "$session" "$log" 'DisplayFit.*'
      if [ "$screen $dpi $face" = "$SCROLL_SESSION" ]; then
        manage_windows Y
        run_tests "$session, the scrolling form" "${log%.log}-scrolling.log" 'ScrollingForm.*'
        manage_windows N
      fi
    done
  done
  stop_wine
  stop_private_display
done
echo "$passed sessions passed, $failed failed"
[ "$failed" -eq 0 ]
