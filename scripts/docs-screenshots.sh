#!/usr/bin/env bash
# Makes the pictures of the user guide from the real program: an English-speaking (prlspa) and a Spanish-speaking
# (prlale) product at 1024x768, walked through by scripts/screenshots.sh. Each picture docs/user-guide.md names as
# images/<code>/<name>.png is saved there; the script fails when the walk did not make one of them. Run it again
# whenever a window changes.
set -euo pipefail
cd "$(dirname "$0")/.."
shots=$(mktemp -d /tmp/parlanta-docshots.XXXXXX)
trap 'rm -rf "$shots"' EXIT
PRODUCTS="prlspa prlale" SIZES=1024x768 bash scripts/screenshots.sh "$shots"
rm -rf docs/images
missing=0
for picture in $(cat docs/user-guide.md docs/teachers-guide.md | grep -o 'images/[a-z]*/[a-z0-9-]*\.png' | sort -u); do
  code=$(cut -d/ -f2 <<<"$picture")
  name=$(basename "$picture")
  made=$(find "$shots/$code-1024x768" -name "[0-9][0-9]-$name" | head -n 1)
  if [ -z "$made" ]; then
    echo "docs-screenshots: the walk made no $name for $code" >&2
    missing=1
    continue
  fi
  mkdir -p "docs/$(dirname "$picture")"
  cp "$made" "docs/$picture"
done
du -sh docs/images
exit $missing
