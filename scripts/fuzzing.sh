# Building and running the libFuzzer targets of the core, for ./fuzz.sh and ./test.sh.
# Sourced after common.sh.

FUZZ_BUILD="$BUILD/fuzz"
FUZZ_TARGETS=(category_rules_fuzz report_composer_fuzz)

build_fuzz() {
  log "building the fuzz targets"
  configure_and_build "$FUZZ_BUILD" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPULMETRA_FUZZ=ON
}

# Fuzzes one target for the given seconds on a working copy of its seed corpus, so
# that new inputs stay out of the repository. Prints the executions and coverage;
# fails on a crash, leak, hang or broken property, naming the input that caused it.
run_fuzz_target() {  # target, seconds
  local target="$1" seconds="$2"
  local corpus="$FUZZ_BUILD/corpus-$target" findings="$FUZZ_BUILD/findings-$target"
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
