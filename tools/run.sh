#!/usr/bin/env bash
# Sets up and builds the launcher, starts the local stand-in of the
# publisher's services and runs the launcher under wine64 in a private prefix
# on its own Xvfb display (VNC-free: screenshots with tools/screenshot.sh).
# Pass DISPLAY_MODE=host to show it on the current $DISPLAY instead.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"

"$here/tools/setup.sh"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "${JOBS:-2}" --target QuarrowLauncher

source "$here/tools/wine-env.sh"
standin_pid=""
cleanup() {
  [ -n "$standin_pid" ] && kill "$standin_pid" 2>/dev/null || true
  wine_env_stop
}
trap cleanup EXIT

host_display="${DISPLAY:-}"
wine_env_start "$here/build/win64/wine-run"
if [ "${DISPLAY_MODE:-}" = host ] && [ -n "$host_display" ]; then
  export DISPLAY="$host_display"
fi
echo "run: prefix $WINEPREFIX, display $DISPLAY"

if [ -f "$here/tools/standin/standin.py" ]; then
  python3 "$here/tools/standin/standin.py" --port 18480 >"$here/build/win64/standin.log" 2>&1 &
  standin_pid=$!
fi

"$WINE64" "$here/build/win64/QuarrowLauncher.exe" "$@"
