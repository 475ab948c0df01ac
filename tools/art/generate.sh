#!/usr/bin/env bash
# Regenerates every launcher image from res/art/ into res/images/ and rewrites
# res/images.rc.  Usage:  tools/art/generate.sh
# The outputs are committed, so a build never needs to run this.
# Installs its own Debian packages (idempotent; skipped when already present).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"

packages=(python3 python3-pil fonts-wqy-microhei)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" != 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Debian's interpreter, not whatever python3 is first on PATH: that is where
# python3-pil lives.
/usr/bin/python3 "$root/res/art/draw.py" "$root/res/images" "$root/res/images.rc"
