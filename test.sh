#!/usr/bin/env bash
# Builds every tree and runs every test suite; ends with "N passed, N failed".
set -uo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/common.sh"
source "$ROOT/scripts/fuzzing.sh"
mkdir -p "$BUILD"

ensure_packages

log "building the native tree"
configure_and_build "$BUILD/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo || exit 1
log "building the sanitizer tree"
configure_and_build "$BUILD/asan" -DCMAKE_BUILD_TYPE=Debug -DPULMETRA_SANITIZE=ON || exit 1
build_windows || exit 1
build_fuzz || exit 1

start_private_display
start_wine
trap 'stop_wine; stop_private_display' EXIT

total_passed=0
total_failed=0

# Runs one CTest tree and adds its counts to the totals. The Windows test
# programs run in Wine's locale.
run_suite() {  # name, build dir, ctest args...
  local name="$1" dir="$2"; shift 2
  log "running $name"
  local out="$BUILD/${name//[^a-z0-9]/-}.ctest.log"
  local runner=()
  [ "$dir" = "$WIN32_BUILD" ] && runner=(in_wine_locale)
  (cd "$dir" && "${runner[@]}" ctest --output-on-failure "$@") >"$out" 2>&1
  local summary
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$out" | tail -1)
  if [ -z "$summary" ]; then
    cat "$out"
    echo "$name: no test summary" >&2
    total_failed=$((total_failed + 1))
    return
  fi
  local failed all
  failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  all=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
  [ "$failed" -gt 0 ] && sed -n '/The following tests FAILED/,$p' "$out"
  [ "$failed" -gt 0 ] && grep -E '^\s*(.*Failure|Expected|  Actual|Which is|Value of)' "$out" | head -60
  echo "$name: $((all - failed)) passed, $failed failed"
  total_passed=$((total_passed + all - failed))
  total_failed=$((total_failed + failed))
}

# Replays each fuzz target's kept inputs, with no random fuzzing (that is
# ./fuzz.sh's), so that a commit passes or fails alike every time; each target
# counts as one suite.
replay_fuzz() {
  local target
  for target in "${FUZZ_TARGETS[@]}"; do
    if replay_fuzz_target "$target"; then
      total_passed=$((total_passed + 1))
    else
      total_failed=$((total_failed + 1))
    fi
  done
}

run_suite "native" "$BUILD/native" -j"$(nproc)"
ASAN_OPTIONS=detect_leaks=1 run_suite "sanitizers" "$BUILD/asan" -j"$(nproc)"
replay_fuzz
run_suite "windows (wine)" "$WIN32_BUILD" -E '^e2e_'
# The end-to-end runs start the program as on a freshly started PC: a new Wine
# session, whose clipboard no earlier test program has touched.
stop_wine
start_wine
run_suite "end-to-end (wine, X11 input)" "$WIN32_BUILD" -R '^e2e_'

echo "$total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ]
