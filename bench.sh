#!/usr/bin/env bash
# Builds the benchmark programs in Release, runs them and prints one table.
# Every benchmark program prints its figures as rows
#   name <TAB> n <TAB> nanoseconds <TAB> notes
# (tests/bench/BenchRow.h); this script only gathers the rows, so a new program
# needs one run line below. Budgets are shown beside the figures, never enforced.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/common.sh"
mkdir -p "$BUILD"

STARTUP_RUNS="${STARTUP_RUNS:-20}"
WINDOW_REPETITIONS="${WINDOW_REPETITIONS:-21}"
BENCH_BUILD="$BUILD/bench"
ROWS="$BUILD/bench.rows"
BENCH_LOG="$BUILD/bench.log"

# Configures a tree and builds only the programs measured, so that a benchmark
# run needs no test program to build.
build_programs() {  # dir, "targets", extra cmake args...
  local dir="$1" targets="$2"; shift 2
  cmake -S "$ROOT" -B "$dir" "$@" >"$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log" >&2; return 1; }
  # shellcheck disable=SC2086  # the targets are words
  cmake --build "$dir" -j"$(nproc)" --target $targets >"$dir.build.log" 2>&1 \
    || { grep -E 'error|Error' "$dir.build.log" | head -40 >&2; echo "build failed; see $dir.build.log" >&2; return 1; }
}

ensure_packages

log "building the native benchmarks"
build_programs "$BENCH_BUILD" "core_bench" -DCMAKE_BUILD_TYPE=Release || exit 1
log "building the Windows programs"
build_programs "$WIN32_BUILD" "Pulmetra keep_desktop MinimalDialog EmptyForm startup_bench window_bench" \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release || exit 1

: >"$ROWS"
: >"$BENCH_LOG"
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
trap 'stop_wine; stop_private_display' EXIT

# The budget holds against the form's own template shown empty; the small dialog is the floor.
run_rows "start-up against the empty form and a minimal dialog" \
  in_windows_tree startup_bench.exe "$STARTUP_RUNS" Pulmetra.exe EmptyForm.exe MinimalDialog.exe
run_rows "window benchmarks" in_windows_tree window_bench.exe "$WINDOW_REPETITIONS"

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

[ "$failures" -eq 0 ]
