#!/usr/bin/env bash
# Runs the end-to-end and window tests N times in a row (scripts/soak.sh N, 10 when not told),
# each run in full whatever the one before did, and reports every failure with its artifacts:
# soak-artifacts/run-I/ holds the failed tests' output and the sessions' screenshots and logs.
# A test that fails now and then is found here before it fails someone's first run.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

RUNS=${1:-10}
install_missing_packages "${TEST_PACKAGES[@]}"
build "$ROOT/build"
web_engine_environment

ARTIFACTS="$ROOT/soak-artifacts"
rm -rf "$ARTIFACTS"
failed_runs=0
cd "$ROOT/build"
for run in $(seq 1 "$RUNS"); do
  rm -rf e2e-artifacts screen-reader-artifacts theme-artifacts
  if xvfb-run -a -s "-screen 0 1280x1024x24" \
      ctest --output-on-failure -j2 --timeout 300 -L 'e2e|window' >"$ROOT/build/soak-run.log" 2>&1; then
    echo "run $run of $RUNS: passed"
    continue
  fi
  failed_runs=$((failed_runs + 1))
  kept="$ARTIFACTS/run-$run"
  mkdir -p "$kept"
  cp soak-run.log Testing/Temporary/LastTest.log "$kept/"
  for folder in e2e-artifacts screen-reader-artifacts theme-artifacts; do
    if [ -d "$folder" ]; then cp -r "$folder" "$kept/"; fi
  done
  echo "run $run of $RUNS: FAILED: $(tr '\n' ' ' <Testing/Temporary/LastTestsFailed.log)"
  echo "  output and artifacts in $kept"
done
echo "$((RUNS - failed_runs)) of $RUNS runs passed"
[ "$failed_runs" -eq 0 ]
