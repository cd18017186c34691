#!/usr/bin/env bash
# Builds in Release (build/release/) and runs the benchmark on school-size data in a temporary program folder:
# one line per figure, "name: X ms (baseline Y ms, ratio R)". Arguments go to the benchmark program
# (--only 'part|part'  --repeats N). With --callgrind it then counts the instructions of the three slowest
# figures under valgrind, so that a change can be compared without the machine's noise.
set -euo pipefail
cd "$(dirname "$0")/.."
callgrind=0
args=()
for arg in "$@"; do
    if [ "$arg" = "--callgrind" ]; then callgrind=1; else args+=("$arg"); fi
done

bash scripts/setup.sh
folder=build/release
cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
games=$(ninja -C "$folder" -t targets all | grep -o '^game_[a-z]*' | sort -u)
cmake --build "$folder" --parallel "$(nproc)" --target parlanta parlanta_bench $games

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
# The school is made once and kept for the callgrind runs.
"$folder/bench/parlanta_bench" --school "$work/school" "${args[@]}" | tee "$work/figures.txt"
[ "$callgrind" = 1 ] || exit 0

echo "# instructions (valgrind --tool=callgrind) of the three slowest figures measured in this process"
grep -v '^#' "$work/figures.txt" | grep -v '^start-up' | grep ' ms (baseline' |
    sed -E 's/^(.*): ([0-9.]+) ms .*/\2\t\1/' | sort -rn | head -3 | cut -f2 |
    while IFS= read -r name; do
        out="$work/cg-$(echo "$name" | tr -c 'a-zA-Z0-9' '_')"
        mkdir -p "$out"
        valgrind --tool=callgrind --callgrind-out-file="$out/callgrind.%p" \
            "$folder/bench/parlanta_bench" --school "$work/school" --callgrind --only "$name" >/dev/null 2>"$out/log"
        python3 scripts/callgrind_counts.py "$name" "$out"
    done
