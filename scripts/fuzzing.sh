# Building and running the libFuzzer targets of the core: ./fuzz.sh fuzzes for a
# while, ./test.sh replays what earlier fuzzing kept. Sourced after common.sh.

FUZZ_BUILD="$BUILD/fuzz"
FUZZ_TARGETS=(category_rules_fuzz report_composer_fuzz)

build_fuzz() {
  log "building the fuzz targets"
  configure_and_build "$FUZZ_BUILD" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPULMETRA_FUZZ=ON
}

# Inputs that once made a target fail: kept here by ./fuzz.sh until the fault is
# fixed, then moved into the seed corpus so that they stay checked.
findings_dir() { echo "$FUZZ_BUILD/findings-$1"; }

# Fuzzes one target for the given seconds on a working copy of its seed corpus, so
# that new inputs stay out of the repository. Prints the executions and coverage;
# fails on a crash, leak, hang or broken property, naming the input that caused it.
run_fuzz_target() {  # target, seconds
  local target="$1" seconds="$2"
  local corpus="$FUZZ_BUILD/corpus-$target" findings
  findings=$(findings_dir "$target")
  local out="$FUZZ_BUILD/$target.log"
  mkdir -p "$corpus" "$findings"
  cp -n "$ROOT/tests/fuzz/corpus/$target/"* "$corpus/" 2>/dev/null
  log "fuzzing $target for ${seconds}s"
  "$FUZZ_BUILD/tests/fuzz/$target" "$corpus" -max_total_time="$seconds" -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$findings/" >"$out" 2>&1
  local rc=$?
  local executions coverage
  executions=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$out" | tail -1)
  coverage=$(grep -E '^#[0-9]+' "$out" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+')
  echo "$target: ${executions:-?} executions, ${coverage:-no coverage figures}"
  [ "$rc" -eq 0 ] && return 0
  grep -E 'property failed|  check: |ERROR: |SUMMARY: ' "$out" | head -20
  local input
  input=$(sed -nE 's/.*Test unit written to (.*)$/\1/p' "$out" | tail -1)
  echo "$target: failed; input ${input:-not saved}, log $out"
  return 1
}

# Runs one target once on every input of its seed corpus and on every input that
# fuzzing saved on a failure, without fuzzing: the same commit always gives the
# same result. Fails, naming the input, where any of them fails.
replay_fuzz_target() {  # target
  local target="$1" findings out="$FUZZ_BUILD/$1.replay.log" replayed="$FUZZ_BUILD/replayed-$1"
  findings=$(findings_dir "$target")
  local inputs
  mapfile -t inputs < <(find "$ROOT/tests/fuzz/corpus/$target" "$findings" -maxdepth 1 -type f 2>/dev/null | sort)
  mkdir -p "$replayed"
  log "replaying ${#inputs[@]} inputs of $target"
  (cd "$replayed" && "$FUZZ_BUILD/tests/fuzz/$target" -runs=0 -timeout=10 -artifact_prefix="$replayed/" \
    "${inputs[@]}") >"$out" 2>&1
  local rc=$?
  local ran
  ran=$(grep -c '^Running: ' "$out")
  echo "$target: $ran of ${#inputs[@]} inputs replayed"
  [ "$rc" -eq 0 ] && [ "$ran" -eq "${#inputs[@]}" ] && return 0
  grep -E 'property failed|  check: |ERROR: |SUMMARY: |^Running: ' "$out" | tail -20
  echo "$target: failed; log $out"
  return 1
}
