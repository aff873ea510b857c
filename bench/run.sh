#!/usr/bin/env bash
# Benchmark, not a test: how soon SMS Movarek shows its window (seen from outside, as the X
# server maps it, and from inside, at its first paint), how soon a send reaches the gateway
# simulator, and how much memory it takes with its web engine, next to a bare Qt Widgets window
# and a bare window with a web view built in the same run. Builds in Release into build-bench/,
# runs every program RUNS times (default 7) under xvfb-run and prints the table. BEFORE=FOLDER
# also measures the build in FOLDER (an earlier commit's build-bench, built the same way) in
# the same rounds. Then a large contacts import, and the sent messages' window with 1,000,000
# records next to the contacts dialog with 1000 contacts. Results of a run are kept in
# bench/RESULTS.md by hand.
set -uo pipefail
source "$(dirname "$0")/../scripts/lib/common.sh"

RUNS=${RUNS:-7}
BUILD="$ROOT/build-bench"

# The gateway host is compiled in: a fixed port keeps the build, unless something holds it.
port_is_free() {
  python3 -c "import socket, sys; socket.socket().bind(('127.0.0.1', int(sys.argv[1])))" "$1" \
    2>/dev/null
}
PORT=47613
# An earlier build talks to the port it was built for: both builds then share it.
if [ -n "${BEFORE:-}" ]; then
  PORT=$(sed -n 's/^MOVAREK_GATEWAY_HOST:STRING=127\.0\.0\.1:\([0-9]*\)$/\1/p' "$BEFORE/CMakeCache.txt")
fi
port_is_free "$PORT" ||
  PORT=$(python3 -c "import socket; s = socket.socket(); s.bind(('127.0.0.1', 0)); print(s.getsockname()[1])")

install_missing_packages "${TEST_PACKAGES[@]}"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMOVAREK_BENCH=ON \
  -DMOVAREK_GATEWAY_HOST="127.0.0.1:$PORT" >/dev/null &&
  cmake --build "$BUILD" --parallel 2 --target movarek-bench bench-bare-widgets \
    bench-bare-webview movarek-gateway-sim movarek_webengine movarek_network \
    movarek_phonenumbers sms-movarek \
    import-bench history-bench ||
  { echo "bench: the build failed"; exit 0; }
web_engine_environment

echo "bench: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) before the runs"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  python3 "$ROOT/bench/drive.py" --build "$BUILD" --port "$PORT" --runs "$RUNS" \
  ${BEFORE:+--before "$BEFORE"} ||
  echo "bench: the runs did not finish"
IMPORT_FOLDER=$(mktemp -d)
"$BUILD/import-bench" "$IMPORT_FOLDER" || echo "bench: the import did not read every card"
rm -rf "$IMPORT_FOLDER"
HISTORY_FOLDER=$(mktemp -d)
xvfb-run -a -s "-screen 0 1280x1024x24" "$BUILD/history-bench" "$HISTORY_FOLDER" 2>/dev/null ||
  echo "bench: the sent messages' file grew to 400 MB or more"
rm -rf "$HISTORY_FOLDER"
echo "bench: load average $(cut -d' ' -f1-3 /proc/loadavg) after the runs"
exit 0
