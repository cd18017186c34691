#!/usr/bin/env bash
# Starts an installed product from its desktop entry, offscreen, as a user who cannot write into the installation
# (root writes anywhere, so root's runs go to the user parlanta-check), with HOME as that user's home. Waits for the
# login window's "Users.dat" and the first-run copy of the shipped virtual subjects in the user's data folder,
# checks that the user may change that copy, stops the program and prints what the data folder holds.
# Usage: scripts/startcheck.sh DESKTOP_ENTRY HOME
set -euo pipefail
desktop=$1
home=$2
prefix=$(cd "$(dirname "$desktop")/../.." && pwd)
product=$(sed -n 's/^Name=//p' "$desktop")
command=$(sed -n 's/^Exec=//p' "$desktop")
user=$(whoami)
run=()
if [ "$(id -u)" = 0 ]; then
  user=parlanta-check
  id "$user" >/dev/null 2>&1 || useradd --system --no-create-home "$user"
  chown "$user" "$home"
  run=(runuser -u "$user" --)
fi
log=$(mktemp /tmp/parlanta-startcheck.XXXXXX.log)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -f "$log"' EXIT
"${run[@]}" env -i HOME="$home" PATH="$prefix/bin:/usr/bin:/bin" QT_QPA_PLATFORM=offscreen $command >"$log" 2>&1 &
pid=$!

data="$home/.local/share/$product"
for _ in $(seq 1 120); do
  [ -f "$data/Users.dat" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.5
done
fail() {
  cat "$log"
  echo "startcheck: $*" >&2
  exit 1
}
[ -f "$data/Users.dat" ] || fail "no Users.dat in '$data' after the start of $command"
kill -0 "$pid" || fail "$command ended at its start"
virtual=$(find "$data" -mindepth 2 -maxdepth 2 -name '*.v*' -type f | head -n 1)
[ -n "$virtual" ] || fail "the shipped virtual subjects were not copied into '$data'"
"${run[@]}" test -w "$virtual" || fail "$user cannot change the copy '$virtual'"
echo "startcheck: $command started from $(basename "$desktop") as $user;" \
  "'$data' holds: $(cd "$data" && find . -type f | sort | tr '\n' ' ')"
