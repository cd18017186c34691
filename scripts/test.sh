#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (under a virtual X server for drag and drop).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
cd build
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 300 "$@"
