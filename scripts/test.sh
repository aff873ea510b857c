#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest.
set -euo pipefail
source "$(dirname "$0")/lib/common.sh"

install_missing_packages
build "$ROOT/build"
web_engine_environment
cd "$ROOT/build"
# The end-to-end tests need a real X display for the web engine.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2 --timeout 300
