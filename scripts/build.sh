#!/usr/bin/env bash
# Configures and builds into build/ (the program folder is assembled at build/stage/).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
warn=OFF
[ "${CI:-}" = "true" ] && warn=ON
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPARLANTA_WERROR=$warn >/dev/null
cmake --build build --parallel "$(nproc)"
