#!/usr/bin/env bash
# Installs what is missing, builds, starts the local gateway simulator and the program.
# Messages sent from the program show up in this terminal.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

PORT=${MOVAREK_SIM_PORT:-8123}
install_missing_packages "${PROGRAM_PACKAGES[@]}"
# The program, its two modules and the simulator: no test is built before the window comes.
build "$ROOT/build-run" -DMOVAREK_TESTS=OFF -DMOVAREK_GATEWAY_HOST="127.0.0.1:$PORT"
web_engine_environment

"$ROOT/build-run/movarek-gateway-sim" --port "$PORT" &
SIM=$!
trap 'kill $SIM 2>/dev/null || true' EXIT

if [ -n "${DISPLAY:-}" ]; then
  "$ROOT/build-run/sms-movarek"
else
  echo "No display is set: starting the program under xvfb-run (an invisible X server)."
  xvfb-run -a -s "-screen 0 1280x1024x24" "$ROOT/build-run/sms-movarek"
fi
