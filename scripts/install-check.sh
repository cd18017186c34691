#!/usr/bin/env bash
# Installs the product built in BUILD (default build/) into a temporary prefix and makes it read-only; checks the
# desktop entry, the software-centre data and the icons; starts the program from its desktop entry, offscreen, as
# a user who cannot write into the prefix, and checks that the login window's "Users.dat" and the shipped virtual
# subjects landed in that user's own data folder and nothing in the prefix changed.
# Usage: scripts/install-check.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bash scripts/setup.sh desktop-file-utils appstream

prefix=$(mktemp -d /tmp/parlanta-install.XXXXXX)
home=$(mktemp -d /tmp/parlanta-home.XXXXXX)
log=$(mktemp /tmp/parlanta-install-check.XXXXXX.log)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  chmod -R u+w "$prefix" 2>/dev/null || true
  rm -rf "$prefix" "$home" "$log"
}
trap cleanup EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
desktop=$(echo "$prefix"/share/applications/*.desktop)
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml >/dev/null
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 16 22 24 32 48 64 128 256; do
  test -s "$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png"
done
product=$(sed -n 's/^Name=//p' "$desktop")
command=$(sed -n 's/^Exec=//p' "$desktop")

chmod -R a+rX,a-w "$prefix"
before=$(cd "$prefix" && find . -printf '%p %s %T@\n' | sort | sha256sum)

# Root writes into read-only folders, so the program runs as a user of its own there.
user=$(whoami)
run=()
if [ "$(id -u)" = 0 ]; then
  user=parlanta-check
  id "$user" >/dev/null 2>&1 || useradd --system --no-create-home "$user"
  chown "$user" "$home"
  run=(runuser -u "$user" --)
fi
"${run[@]}" env -i HOME="$home" PATH="$prefix/bin:/usr/bin:/bin" QT_QPA_PLATFORM=offscreen $command \
  >"$log" 2>&1 &
pid=$!

data="$home/.local/share/$product"
for _ in $(seq 1 120); do
  [ -f "$data/Users.dat" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.5
done
if [ ! -f "$data/Users.dat" ]; then
  cat "$log"
  echo "install-check: no Users.dat in '$data' after the start of $command" >&2
  exit 1
fi
kill -0 "$pid"
virtual=$(find "$data" -mindepth 2 -maxdepth 2 -name '*.v*' -type f | head -n 1)
if [ -z "$virtual" ]; then
  echo "install-check: the shipped virtual subjects were not copied into '$data'" >&2
  exit 1
fi
if ! "${run[@]}" test -w "$virtual"; then
  echo "install-check: $user cannot change the copy '$virtual'" >&2
  exit 1
fi
after=$(cd "$prefix" && find . -printf '%p %s %T@\n' | sort | sha256sum)
if [ "$before" != "$after" ]; then
  echo "install-check: the program changed its read-only folder" >&2
  exit 1
fi
echo "install-check: $command started from its desktop entry as $user;" \
  "its data folder holds: $(cd "$data" && find . -type f | sort | tr '\n' ' ')"
