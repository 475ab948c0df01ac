#!/usr/bin/env bash
# Installs every Debian package the project needs and fetches Debian's zlib
# source (for minizip under mingw). Idempotent; safe to run on every build.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
deps="${DEPS_DIR:-$here/build/deps}"

packages=(
  cmake g++ make pkg-config dpkg-dev python3
  zlib1g-dev libminizip-dev googletest libgtest-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libz-mingw-w64-dev
  wine wine64 fonts-wine xvfb xauth xcompmgr bzip2 xz-utils
  imagemagick xdotool fonts-wqy-microhei
  curl unzip zip
)

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

srclist=/etc/apt/sources.list.d/project-deb-src.sources
need_update=0
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  $SUDO tee "$srclist" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ] || [ "$need_update" = 1 ]; then
  $SUDO apt-get update -qq
fi
if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# minizip's reader for the mingw builds, from the same Debian source as the
# native libminizip; compiled by CMake out of this folder, never committed.
if [ ! -f "$deps/zlib-src/contrib/minizip/unzip.c" ]; then
  mkdir -p "$deps/download"
  (cd "$deps/download" && apt-get source --download-only -qq zlib >/dev/null)
  dsc=$(ls "$deps"/download/zlib_*.dsc | head -n 1)
  rm -rf "$deps/zlib-src"
  dpkg-source --no-check -x "$dsc" "$deps/zlib-src" >/dev/null
fi
echo "setup: ok"
