#!/usr/bin/env bash
# Installs the product built in BUILD (default build/) into a temporary prefix and makes it read-only; checks the
# desktop entry, the software-centre data and the icons; starts the program from its desktop entry as a user who
# cannot write there (scripts/startcheck.sh) and checks that nothing in the prefix changed.
# Usage: scripts/install-check.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bash scripts/setup.sh desktop-file-utils appstream

prefix=$(mktemp -d /tmp/parlanta-install.XXXXXX)
home=$(mktemp -d /tmp/parlanta-home.XXXXXX)
trap 'chmod -R u+w "$prefix" 2>/dev/null; rm -rf "$prefix" "$home"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
desktop=$(echo "$prefix"/share/applications/*.desktop)
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml >/dev/null
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 16 22 24 32 48 64 128 256; do
  test -s "$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png"
done

chmod -R a+rX,a-w "$prefix"
listing() { (cd "$prefix" && find . -printf '%p %s %T@\n' | sort | sha256sum); }
before=$(listing)
bash scripts/startcheck.sh "$desktop" "$home"
if [ "$before" != "$(listing)" ]; then
  echo "install-check: the program changed its read-only folder" >&2
  exit 1
fi
echo "install-check: $(basename "$desktop") and its metainfo are valid, 8 icon sizes, the prefix stayed unchanged"
