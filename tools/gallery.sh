#!/usr/bin/env bash
# Renders the skinned windows to PNG files under Wine on a private Xvfb
# display: the confirmation box with each of its texts, the wait overlay at
# each animation picture and the title strip's buttons in their three looks.
# Pictures land in build/gallery/ (or the folder given as first argument).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$(mkdir -p "${1:-$here/build/gallery}" && cd "${1:-$here/build/gallery}" && pwd)"
build="${GALLERY_BUILD_DIR:-$here/build/gallery-win64}"

"$here/tools/setup.sh" >/dev/null
cmake --preset win64 -B "$build" >/dev/null
cmake --build "$build" -j "${JOBS:-2}" --target skin_gallery >/dev/null

source "$here/tools/wine-env.sh"
trap wine_env_stop EXIT
WINE_ENV_COMPOSITE=1 wine_env_start "$build/wine-gallery"

rm -f "$out"/*.png
"$WINE64" "$build/skin_gallery.exe" "$(winepath_w "$out")"

# The overlay over a window, as the compositor shows it to the player.
ready="$out/.overlay-ready"
rm -f "$ready"
"$WINE64" "$build/skin_gallery.exe" --over-window "$(winepath_w "$ready")" &
gallery_pid=$!
for _ in $(seq 1 100); do
  [ -e "$ready" ] && break
  sleep 0.1
done
sleep 0.5
import -display "$DISPLAY" -window root -crop 640x400+0+0 +repage "$out/overlay_over_window.png"
echo overlay_over_window.png
rm -f "$ready"
wait "$gallery_pid"
echo "gallery: pictures in $out"
