#!/usr/bin/env bash
# Builds and starts the program from build/stage/. Without a display it runs under a virtual X server,
# saves build/run-screenshot.png after start-up and stops.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/stage/parlanta
fi
shot="$PWD/build/run-screenshot.png"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  build/stage/parlanta & pid=$!
  sleep "${PARLANTA_SHOT_DELAY:-6}"
  import -window root "$0"
  kill $pid 2>/dev/null || true
  wait $pid 2>/dev/null || true' "$shot"
echo "Screenshot saved to $shot"
