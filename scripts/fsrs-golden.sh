#!/bin/bash
# Writes tests/common/data/fsrs-golden.tsv, the review schedules tst_fsrs checks our FSRS-6 against, with the
# reference package ts-fsrs at a pinned version. Run by hand when the vectors are to change; it needs npm and its
# registry, nothing else in the build or the tests does.
set -euo pipefail
TS_FSRS_VERSION=5.4.2
repo="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
npm install --prefix "$work" --no-save --no-audit --no-fund "ts-fsrs@$TS_FSRS_VERSION" >/dev/null
node "$repo/scripts/fsrs-golden.mjs" "$work/node_modules/ts-fsrs/dist/index.mjs" \
    "$repo/tests/common/data/fsrs-golden.tsv"
