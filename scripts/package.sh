#!/usr/bin/env bash
# Builds the Debian package of each product named (default: prlale) into build/package/<code>/, without the tests,
# and prints where it is. The products share one build folder, build/package/build/: switching it to the next product
# compiles only what names the product, so each further product costs its content and its links, not a whole build. With --check (as root) it then makes a clean Debian 12 system with debootstrap (no build
# tools, no -dev packages: what a school's computer has), installs all the packages side by side there with apt,
# starts each from its desktop entry as a user (scripts/startcheck.sh), removes the packages and checks that the
# users' data is still there.
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
build=build/package/build
for code in "${codes[@]}"; do
  folder=build/package/$code
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARLANTA_PROGRAM_CODE="$code" -DPARLANTA_TESTS=OFF \
    >/dev/null
  cmake --build "$build"
  rm -f "$build"/*.deb
  (cd "$build" && cpack -G DEB >/dev/null)
  mkdir -p "$folder"
  rm -f "$folder"/*.deb
  mv "$build"/parlanta-"$code"_*.deb "$folder"/
  deb=$(echo "$PWD/$folder"/parlanta-"$code"_*.deb)
  echo "package: $deb ($(du -k "$deb" | cut -f1) KB)"
  dpkg-deb --field "$deb" Depends
  packages+=("$deb")
done
[ $check = 1 ] || exit 0

names=("${codes[@]/#/parlanta-}")
bash scripts/setup.sh debootstrap
root=$(mktemp -d /tmp/parlanta-clean.XXXXXX)
chmod 755 "$root" # the system's root folder, open to its users
cleanup() {
  umount "$root/proc" 2>/dev/null || true
  # Never delete through a mount that is still there.
  if ! mountpoint -q "$root/proc"; then
    rm -rf "$root"
  fi
}
trap cleanup EXIT
start=$SECONDS
debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian >/dev/null
# The programs find their folder through /proc; apt needs the name server.
mount -t proc proc "$root/proc"
cp /etc/resolv.conf "$root/etc/resolv.conf"
mkdir "$root/parlanta"
cp "${packages[@]}" scripts/startcheck.sh "$root/parlanta/"
in_clean() { chroot "$root" env DEBIAN_FRONTEND=noninteractive PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"; }
in_clean apt-get update -qq
in_clean bash -c 'apt-get install -y -qq /parlanta/*.deb >/dev/null 2>&1'
echo "package: a clean Debian 12 in $((SECONDS - start)) s, $(in_clean dpkg-query -W | wc -l) packages installed," \
  "$(in_clean dpkg-query -W | grep -c -- '-dev\b' || true) of them -dev"
home=$(in_clean mktemp -d)
for code in "${codes[@]}"; do
  in_clean bash /parlanta/startcheck.sh "/usr/share/applications/org.parlanta.$code.desktop" "$home"
done
data() { (cd "$root$home" && find . -type f -exec sha256sum {} + | sort); }
before=$(data)
in_clean apt-get remove -y -qq "${names[@]}" >/dev/null 2>&1
for code in "${codes[@]}"; do
  if [ -e "$root/usr/lib/parlanta-$code" ] || [ -e "$root/usr/share/applications/org.parlanta.$code.desktop" ]; then
    echo "package: removing parlanta-$code left its files behind" >&2
    exit 1
  fi
done
if [ "$before" != "$(data)" ]; then
  echo "package: removing the packages changed the users' data" >&2
  exit 1
fi
echo "package: ${names[*]} installed side by side, started, removed; the users' data stayed: $(echo "$before" | wc -l) files"
