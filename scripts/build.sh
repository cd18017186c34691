#!/usr/bin/env bash
# Configures and builds into build/ (the program folder is assembled at build/stage/).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
options=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
# CI treats warnings as errors; a developer's own choice in build/ is left as it is.
[ "${CI:-}" = "true" ] && options+=(-DPARLANTA_WERROR=ON)
cmake -S . -B build "${options[@]}" >/dev/null
cmake --build build --parallel "$(nproc)"
