# ./bench.sh --against COMMIT: the earlier commit's form measured beside this
# tree's, in the same run. Sourced by bench.sh after common.sh.
#
# The earlier commit is exported into a folder of its own under build/ with this
# tree's benchmark programs (tests/bench) put in place of its own, so both forms
# are measured by the same code; those programs use only what every release of
# the form has. Start-ups take turns inside one start-up benchmark. The window
# benchmarks run as two programs, each in a Wine of its own (prefix, server and
# virtual display, so neither takes the other's focus), and take turns step by
# step: this script tells one to go, waits for its ".", then tells the other.

# Sets AGAINST_SHA and AGAINST_DIR for a commit, or fails naming it.
resolve_against() {  # commit
  AGAINST_SHA=$(git -C "$ROOT" rev-parse --verify --quiet "$1^{commit}") \
    || { echo "bench.sh: no commit '$1' in this repository" >&2; return 1; }
  AGAINST_DIR="$BUILD/against-${AGAINST_SHA:0:12}"
}

# The commit's tree with this tree's benchmark programs, exported again only when
# either changed, so that an unchanged folder is not rebuilt from scratch.
export_against_tree() {
  local src="$AGAINST_DIR/src" stamp
  stamp="$AGAINST_SHA $(cd "$ROOT/tests/bench" && find . -type f -print0 | sort -z | xargs -0 sha256sum | sha256sum)"
  [ -f "$AGAINST_DIR/src.stamp" ] && [ "$(cat "$AGAINST_DIR/src.stamp")" = "$stamp" ] && return 0
  rm -rf "$src" && mkdir -p "$src"
  git -C "$ROOT" archive "$AGAINST_SHA" | tar -x -C "$src" || return 1
  rm -rf "$src/tests/bench" && cp -R "$ROOT/tests/bench" "$src/tests/bench"
  printf '%s\n' "$stamp" >"$AGAINST_DIR/src.stamp"
}

build_against() {
  mkdir -p "$AGAINST_DIR"
  export_against_tree || { echo "bench.sh: could not export ${AGAINST_SHA:0:12}" >&2; return 1; }
  log "building ${AGAINST_SHA:0:12}'s program with this tree's benchmark programs"
  AGAINST_WIN32="$AGAINST_DIR/win32"
  build_programs "$AGAINST_DIR/src" "$AGAINST_WIN32" "Pulmetra window_bench" \
    -DCMAKE_TOOLCHAIN_FILE="$AGAINST_DIR/src/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release
}

# The second Wine: its own prefix, server and display, started like the first.
start_against_wine() {
  AGAINST_PREFIX="$AGAINST_DIR/wineprefix"
  local saved_display="$DISPLAY" saved_prefix="$WINEPREFIX" saved_xvfb="$XVFB_PID" saved_openbox="$OPENBOX_PID"
  start_private_display
  AGAINST_DISPLAY="$DISPLAY" AGAINST_XVFB_PID="$XVFB_PID" AGAINST_OPENBOX_PID="$OPENBOX_PID"
  WINEPREFIX="$AGAINST_PREFIX" start_wine
  export DISPLAY="$saved_display" WINEPREFIX="$saved_prefix"
  XVFB_PID="$saved_xvfb" OPENBOX_PID="$saved_openbox"
}

stop_against_wine() {
  [ -n "${AGAINST_PREFIX:-}" ] && WINEPREFIX="$AGAINST_PREFIX" stop_wine
  [ -n "${AGAINST_OPENBOX_PID:-}" ] && kill "$AGAINST_OPENBOX_PID" 2>/dev/null
  [ -n "${AGAINST_XVFB_PID:-}" ] && kill "$AGAINST_XVFB_PID" 2>/dev/null
  AGAINST_PREFIX= AGAINST_OPENBOX_PID= AGAINST_XVFB_PID=
}

# One step of one side: "go", then its rows until its "."; false once it has
# finished ("done") or ended.
take_turn() {  # input fd, output fd, rows file
  local line
  printf 'go\n' >&"$1" || return 1
  while IFS= read -r line <&"$2"; do
    line="${line%$'\r'}"
    case "$line" in
      .) return 0 ;;
      done) return 1 ;;
      *) printf '%s\n' "$line" >>"$3" ;;
    esac
  done
  return 1
}

# Both window benchmarks, taking turns; which side goes first changes every round.
run_window_turns() {  # repetitions, rows file of this tree, rows file of the commit
  local fifos="$BUILD/turns"
  rm -rf "$fifos" && mkdir -p "$fifos"
  mkfifo "$fifos/now.in" "$fifos/now.out" "$fifos/then.in" "$fifos/then.out"
  (cd "$WIN32_BUILD" && exec env "${WINE_LOCALE_ENV[@]}" wine window_bench.exe "$1" --turns \
    <"$fifos/now.in" >"$fifos/now.out" 2>>"$BENCH_LOG") &
  local now_pid=$!
  (cd "$AGAINST_WIN32" && export DISPLAY="$AGAINST_DISPLAY" WINEPREFIX="$AGAINST_PREFIX" \
    && exec env "${WINE_LOCALE_ENV[@]}" wine window_bench.exe "$1" --turns \
    <"$fifos/then.in" >"$fifos/then.out" 2>>"$BENCH_LOG") &
  local then_pid=$!
  local now_in now_out then_in then_out
  exec {now_in}>"$fifos/now.in" {now_out}<"$fifos/now.out" {then_in}>"$fifos/then.in" {then_out}<"$fifos/then.out"
  local now=1 then=1 round=0
  while [ "$now" = 1 ] || [ "$then" = 1 ]; do
    if [ $((round % 2)) = 0 ]; then
      [ "$now" = 1 ] && { take_turn "$now_in" "$now_out" "$2" || now=0; }
      [ "$then" = 1 ] && { take_turn "$then_in" "$then_out" "$3" || then=0; }
    else
      [ "$then" = 1 ] && { take_turn "$then_in" "$then_out" "$3" || then=0; }
      [ "$now" = 1 ] && { take_turn "$now_in" "$now_out" "$2" || now=0; }
    fi
    round=$((round + 1))
  done
  exec {now_in}>&- {now_out}<&- {then_in}>&- {then_out}<&-
  wait "$now_pid" "$then_pid"
}

# One table of both: the earlier commit's median, this tree's, and their ratio.
print_comparison() {  # rows file of this tree, rows file of the commit
  local label="${AGAINST_SHA:0:7}"
  awk -F'\t' -v label="$label" '
    function human(ns) {
      if (ns < 1e3) return sprintf("%.1f ns", ns)
      if (ns < 1e6) return sprintf("%.2f us", ns / 1e3)
      if (ns < 1e9) return sprintf("%.2f ms", ns / 1e6)
      return sprintf("%.2f s", ns / 1e9)
    }
    NF < 3 || $3 == "-" { next }
    FILENAME == ARGV[1] { key = $1 SUBSEP $2; now[key] = $3; if (!(key in order)) { order[key] = ++n; keys[n] = key }; next }
    { then[$1 SUBSEP $2] = $3 }
    END {
      width = 9
      for (i = 1; i <= n; ++i) { split(keys[i], k, SUBSEP); if (length(k[1]) > width) width = length(k[1]) }
      printf "%-" width "s  %7s  %11s  %11s  %s\n", "benchmark", "n", label, "now", "now / " label
      for (i = 1; i <= n; ++i) {
        if (!(keys[i] in then)) continue
        split(keys[i], k, SUBSEP)
        printf "%-" width "s  %7s  %11s  %11s  %.2f\n", k[1], k[2], human(then[keys[i]]), human(now[keys[i]]), now[keys[i]] / then[keys[i]]
      }
    }
  ' "$1" "$2"
}
