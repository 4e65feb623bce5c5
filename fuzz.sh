#!/usr/bin/env bash
# Builds the fuzz targets of the core and runs each for FUZZ_SECONDS (default 180).
# An input that fails is kept in build/fuzz/findings-TARGET, where ./test.sh
# replays it until it passes; then it belongs in tests/fuzz/corpus/TARGET.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/common.sh"
source "$ROOT/scripts/fuzzing.sh"
mkdir -p "$BUILD"

ensure_packages
build_fuzz || exit 1

failed=0
for target in "${FUZZ_TARGETS[@]}"; do
  run_fuzz_target "$target" "${FUZZ_SECONDS:-180}" || failed=1
done
exit "$failed"
