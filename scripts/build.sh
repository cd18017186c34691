#!/usr/bin/env bash
# Configures and builds into build/ (the program folder is assembled at build/stage/).
# --asan builds into build/asan/ instead, with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
folder=build
options=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--asan" ]; then
  # Warnings are the plain build's business: the sanitizers' instrumentation makes GCC warn about bounds it
  # cannot see through.
  # -O1 keeps the instrumented build and its run quick enough for CI; -g1 still names the lines of a report.
  folder=build/asan
  options+=(-DPARLANTA_SANITIZE=ON "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1")
elif [ "${CI:-}" = "true" ]; then
  # CI treats warnings as errors; a developer's own choice in build/ is left as it is.
  options+=(-DPARLANTA_WERROR=ON)
fi
cmake -S . -B "$folder" "${options[@]}" >/dev/null
cmake --build "$folder" --parallel "$(nproc)"
