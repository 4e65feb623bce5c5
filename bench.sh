#!/usr/bin/env bash
# Builds the benchmark programs in Release, runs them and prints one table.
# Every benchmark program prints its figures as rows
#   name <TAB> n <TAB> nanoseconds <TAB> notes
# (tests/bench/BenchRow.h); this script only gathers the rows, so a new program
# needs one run line below. Budgets are shown beside the figures, never enforced.
#   ./bench.sh                    this tree
#   ./bench.sh --against COMMIT   this tree and COMMIT's form side by side, taking
#                                 turns, with the ratio per action (scripts/against.sh)
#   ./bench.sh --profile [--against COMMIT]
#                                 the Wine server requests of each window action,
#                                 and the windows it draws against those it
#                                 changes, instead of times (scripts/profile.sh)
set -uo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/common.sh"
source "$ROOT/scripts/against.sh"
source "$ROOT/scripts/profile.sh"
mkdir -p "$BUILD"

usage() { echo "usage: ./bench.sh [--profile] [--against COMMIT]" >&2; exit 2; }
AGAINST=
PROFILE=
while [ $# -gt 0 ]; do
  case "$1" in
    --profile) PROFILE=1; shift ;;
    --against) [ $# -ge 2 ] || usage; AGAINST="$2"; shift 2 ;;
    *) usage ;;
  esac
done
[ -z "$AGAINST" ] || resolve_against "$AGAINST" || exit 2

STARTUP_RUNS="${STARTUP_RUNS:-20}"
WINDOW_REPETITIONS="${WINDOW_REPETITIONS:-21}"
BENCH_BUILD="$BUILD/bench"
ROWS="$BUILD/bench.rows"
AGAINST_ROWS="$BUILD/bench-against.rows"
DRAW_ROWS="$BUILD/bench-draws.rows"
AGAINST_DRAW_ROWS="$BUILD/bench-against-draws.rows"
BENCH_LOG="$BUILD/bench.log"

# Configures a tree and builds only the programs measured, so that a benchmark
# run needs no test program to build.
build_programs() {  # source dir, build dir, "targets", extra cmake args...
  local source="$1" dir="$2" targets="$3"; shift 3
  cmake -S "$source" -B "$dir" "$@" >"$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log" >&2; return 1; }
  # shellcheck disable=SC2086  # the targets are words
  cmake --build "$dir" -j"$(nproc)" --target $targets >"$dir.build.log" 2>&1 \
    || { grep -E 'error|Error' "$dir.build.log" | head -40 >&2; echo "build failed; see $dir.build.log" >&2; return 1; }
}

ensure_packages
: >"$BENCH_LOG"

if [ -n "$PROFILE" ]; then
  log "building the window benchmark"
  build_programs "$ROOT" "$WIN32_BUILD" "keep_desktop window_bench" \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release || exit 1
  [ -z "$AGAINST" ] || build_against || exit 1
  start_private_display
  trap 'stop_wine; stop_private_display' EXIT
  log "tracing the Wine server under this tree's window benchmark"
  trace_window_bench "$WIN32_BUILD" "$BUILD/profile.trace" || { echo "window benchmark failed; see $BENCH_LOG" >&2; exit 1; }
  count_requests "$BUILD/profile.trace" >"$ROWS"
  log "counting the draws of this tree's window benchmark"
  count_draws "$WIN32_BUILD" "$DRAW_ROWS" || { echo "window benchmark failed; see $BENCH_LOG" >&2; exit 1; }
  if [ -z "$AGAINST" ]; then
    print_requests "$ROWS"
    echo
    print_draws "$DRAW_ROWS"
  else
    log "tracing the Wine server under ${AGAINST_SHA:0:12}'s window benchmark"
    trace_window_bench "$AGAINST_WIN32" "$BUILD/profile-against.trace" \
      || { echo "window benchmark failed; see $BENCH_LOG" >&2; exit 1; }
    count_requests "$BUILD/profile-against.trace" >"$AGAINST_ROWS"
    log "counting the draws of ${AGAINST_SHA:0:12}'s window benchmark"
    count_draws "$AGAINST_WIN32" "$AGAINST_DRAW_ROWS" \
      || { echo "window benchmark failed; see $BENCH_LOG" >&2; exit 1; }
    print_requests "$ROWS" "$AGAINST_ROWS" "${AGAINST_SHA:0:7}"
    echo
    print_draws "$DRAW_ROWS" "$AGAINST_DRAW_ROWS" "${AGAINST_SHA:0:7}"
  fi
  exit 0
fi

log "building the native benchmarks"
build_programs "$ROOT" "$BENCH_BUILD" "core_bench" -DCMAKE_BUILD_TYPE=Release || exit 1
log "building the Windows programs"
build_programs "$ROOT" "$WIN32_BUILD" "Pulmetra keep_desktop MinimalDialog EmptyForm startup_bench window_bench" \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release || exit 1
[ -z "$AGAINST" ] || build_against || exit 1

: >"$ROWS"
: >"$AGAINST_ROWS"
failures=0

# Runs one benchmark program and keeps its rows; what it says besides goes to the log.
run_rows() {  # title, command...
  local title="$1"; shift
  log "running $title"
  if ! "$@" 2>>"$BENCH_LOG" | tr -d '\r' >>"$ROWS"; then
    echo "$title failed; see $BENCH_LOG" >&2
    failures=$((failures + 1))
  fi
}

# A program of the Windows tree, run there under Wine.
in_windows_tree() {  # program, arguments...
  (cd "$WIN32_BUILD" && in_wine_locale wine "$@" </dev/null)
}

run_rows "core benchmarks" "$BENCH_BUILD/tests/bench/core_bench" --rows

start_private_display
start_wine
trap 'stop_wine; stop_private_display; stop_against_wine' EXIT

# The budget holds against the form's own template shown empty; the small dialog
# is the floor; the earlier commit's program starts in the same turns.
against_program=()
[ -z "$AGAINST" ] || against_program=("Pulmetra@${AGAINST_SHA:0:7}=Z:${AGAINST_WIN32//\//\\}\\Pulmetra.exe")
run_rows "start-up against the empty form and a minimal dialog" \
  in_windows_tree startup_bench.exe "$STARTUP_RUNS" Pulmetra.exe EmptyForm.exe MinimalDialog.exe "${against_program[@]}"
if [ -z "$AGAINST" ]; then
  run_rows "window benchmarks" in_windows_tree window_bench.exe "$WINDOW_REPETITIONS"
else
  start_against_wine
  log "running the window benchmarks of this tree and ${AGAINST_SHA:0:12}, taking turns"
  run_window_turns "$WINDOW_REPETITIONS" "$ROWS" "$AGAINST_ROWS"
  grep -q '^Window:' "$ROWS" && grep -q '^Window:' "$AGAINST_ROWS" \
    || { echo "window benchmarks failed; see $BENCH_LOG" >&2; failures=$((failures + 1)); }
  # The earlier program's start-up is compared as this one's.
  sed -n "s/^Start-up: Pulmetra@${AGAINST_SHA:0:7}\t/Start-up: Pulmetra\t/p" "$ROWS" >>"$AGAINST_ROWS"
fi

# The table: times in the unit that suits them, names padded to the longest.
awk -F'\t' '
  function human(ns) {
    if (ns == "-") return "-"
    if (ns < 1e3) return sprintf("%.1f ns", ns)
    if (ns < 1e6) return sprintf("%.2f us", ns / 1e3)
    if (ns < 1e9) return sprintf("%.2f ms", ns / 1e6)
    return sprintf("%.2f s", ns / 1e9)
  }
  NR == FNR { if (length($1) > width) width = length($1); next }
  FNR == 1 {
    if (width < 9) width = 9
    printf "%-" width "s  %7s  %11s  %s\n", "benchmark", "n", "time", "notes"
  }
  NF >= 3 { printf "%-" width "s  %7s  %11s  %s\n", $1, $2, human($3), $4 }
' "$ROWS" "$ROWS"

if [ -n "$AGAINST" ]; then
  echo
  print_comparison "$ROWS" "$AGAINST_ROWS"
fi

[ "$failures" -eq 0 ]
