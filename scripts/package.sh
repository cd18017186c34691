#!/usr/bin/env bash
# Builds the Debian package of each product named (default: prlale) in build/package/<code>/, without the tests,
# and prints where it is. With --check (as root, on a Debian machine) it then installs all of them side by side
# with apt, starts each from its desktop entry as a user (scripts/startcheck.sh), removes the packages and checks
# that the users' data is still there.
# Usage: scripts/package.sh [--check] [CODE...]
set -euo pipefail
cd "$(dirname "$0")/.."
check=0
if [ "${1:-}" = "--check" ]; then
  check=1
  shift
fi
codes=("$@")
[ ${#codes[@]} -gt 0 ] || codes=(prlale)

# dpkg-shlibdeps finds the Debian packages of the libraries the programs link.
bash scripts/setup.sh dpkg-dev desktop-file-utils
packages=()
for code in "${codes[@]}"; do
  folder=build/package/$code
  cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARLANTA_PROGRAM_CODE="$code" -DPARLANTA_TESTS=OFF \
    >/dev/null
  cmake --build "$folder"
  rm -f "$folder"/*.deb
  (cd "$folder" && cpack -G DEB >/dev/null)
  deb=$(echo "$PWD/$folder"/parlanta-"$code"_*.deb)
  echo "package: $deb ($(du -k "$deb" | cut -f1) KB)"
  dpkg-deb --field "$deb" Depends
  packages+=("$deb")
done
[ $check = 1 ] || exit 0

names=("${codes[@]/#/parlanta-}")
home=$(mktemp -d /tmp/parlanta-home.XXXXXX)
trap 'apt-get remove -y -qq "${names[@]}" >/dev/null 2>&1 || true; rm -rf "$home"' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${packages[@]}" >/dev/null
for code in "${codes[@]}"; do
  bash scripts/startcheck.sh "/usr/share/applications/org.parlanta.$code.desktop" "$home"
done
before=$(cd "$home" && find . -type f -exec sha256sum {} + | sort)
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq "${names[@]}" >/dev/null
for code in "${codes[@]}"; do
  if [ -e "/usr/lib/parlanta-$code" ] || [ -e "/usr/share/applications/org.parlanta.$code.desktop" ]; then
    echo "package: removing parlanta-$code left its files behind" >&2
    exit 1
  fi
done
if [ "$before" != "$(cd "$home" && find . -type f -exec sha256sum {} + | sort)" ]; then
  echo "package: removing the packages changed the users' data" >&2
  exit 1
fi
echo "package: ${names[*]} installed side by side, started, removed; the users' data stayed: $(echo "$before" | wc -l) files"
