#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and any further ones named as arguments;
# silent when all are present.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-multimedia-dev qt6-charts-dev libqt6opengl6-dev qt6-translations-l10n
          gstreamer1.0-plugins-good libsqlite3-dev sqlite3 libsodium-dev libaubio-dev libpq-dev postgresql-15 openssl espeak-ng
          libsndfile1-dev libsamplerate0-dev libzip-dev libzstd-dev libprotobuf-dev protobuf-compiler xvfb xauth imagemagick python3 python3-tk valgrind "$@")
# The tests check exported packages with a reader from the npm registry; Debian's node and npm when none is there.
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
