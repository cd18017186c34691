#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang and libFuzzer in build/fuzz (only they and the libraries they
# link) and runs each for SECONDS (default 60; --ci: 20) on its seeds, its saved regressions and a growing work
# corpus in build/fuzz/corpus/<target>. Prints one line per target; fails when any input crashed, hung or ran out
# of memory, and names the file that holds it: copy that file into tests/fuzz/regressions/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=60
case "${1:-}" in
  --ci) seconds=20 ;;
  '') ;;
  *) seconds=$1 ;;
esac

# libFuzzer's runtime is only a recommendation of clang's package.
bash scripts/setup.sh clang libclang-rt-dev
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPARLANTA_FUZZ=ON >/dev/null
targets=(nodetag exchange updates subjectfile)
cmake --build build/fuzz --target "${targets[@]/#/fuzz_}"

# The longest input each reader meets in use, with room to grow: tags and update lines are short, an exchange file
# of ten phrases takes a few kilobytes, the seeds of subject files are databases of a few pages.
declare -A max_len=([nodetag]=1024 [exchange]=8192 [updates]=4096 [subjectfile]=32768)
failed=0
for target in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$target
  artifacts=build/fuzz/artifacts/$target
  log=build/fuzz/$target.log
  mkdir -p "$corpus" "$artifacts"
  inputs=("$corpus" "tests/fuzz/seeds/$target")
  [ -d "tests/fuzz/regressions/$target" ] && inputs+=("tests/fuzz/regressions/$target")
  start=$SECONDS
  if build/fuzz/tests/fuzz/fuzz_$target -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 \
      -timeout=10 -max_len="${max_len[$target]}" -artifact_prefix="$artifacts/" "${inputs[@]}" >"$log" 2>&1; then
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: $executions executions, $((SECONDS - start)) s, no crash"
  else
    tail -n 40 "$log"
    saved=$(sed -n 's/.*Test unit written to //p' "$log")
    echo "$target: FAILED after $((SECONDS - start)) s, input saved in ${saved:-(none; see $log)}"
    failed=1
  fi
done
exit $failed
