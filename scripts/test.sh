#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (under a virtual X server for drag and drop).
# --asan builds into build/asan/ and runs the whole suite under AddressSanitizer and UndefinedBehaviorSanitizer;
# further arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
folder=build
if [ "${1:-}" = "--asan" ]; then
  shift
  bash scripts/build.sh --asan
  folder=build/asan
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1"
  export LSAN_OPTIONS="suppressions=$PWD/scripts/asan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
else
  bash scripts/build.sh
fi
# The Anki package tests check our writer with an independent reader from npm, installed from its lock file.
lessons_npm=tests/lessons/npm
if [ ! -d "$lessons_npm/node_modules" ] || [ "$lessons_npm/package-lock.json" -nt "$lessons_npm/node_modules" ]; then
  npm ci --prefix "$lessons_npm" --no-audit --no-fund --silent
  touch "$lessons_npm/node_modules"
fi
cd "$folder"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 300 --parallel "$(nproc)" "$@"
