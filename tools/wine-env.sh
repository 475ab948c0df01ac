# Source this file, then: wine_env_start <folder>; ...; wine_env_stop
# Gives the current shell a private Wine world under <folder>: its own
# WINEPREFIX, a scratch HOME, its own Xvfb display and a running wineserver.
# Nothing of the user's own (~/.wine, $DISPLAY) is touched.

WINE64=/usr/lib/wine/wine64
WINESERVER64=/usr/lib/wine/wineserver64

_wine_env_here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

wine_env_start() {
  local root="$1"
  mkdir -p "$root"
  root="$(cd "$root" && pwd)"
  export WINEPREFIX="$root/wineprefix"
  export HOME="$root/home"
  export WINEDEBUG=-all
  export WINEARCH=win64
  # No .NET prompt; mshtml stays enabled (the browser control needs it).
  export WINEDLLOVERRIDES="mscoree="
  export XDG_RUNTIME_DIR="$root/xdg"
  rm -rf "$WINEPREFIX" "$HOME" "$XDG_RUNTIME_DIR"
  # Wine's recycle bin lives in $HOME/.local/share/Trash; without the parent
  # folder it silently deletes for good instead.
  mkdir -p "$WINEPREFIX" "$HOME/.local/share" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"

  local fifo="$root/xvfb.display"
  rm -f "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -nolisten unix -nolisten local 3>"$fifo" >/dev/null 2>&1 &
  WINE_ENV_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -s "$fifo" ] && break
    sleep 0.1
  done
  # -nolisten local leaves only the abstract socket on some builds; fall back
  # to the plain unix socket when the display did not come up.
  if [ ! -s "$fifo" ]; then
    kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    WINE_ENV_XVFB_PID=$!
    for i in $(seq 1 100); do
      [ -s "$fifo" ] && break
      sleep 0.1
    done
  fi
  export DISPLAY=":$(head -n 1 "$fifo" | tr -d '[:space:]')"

  # A compositor makes partial alpha of layered windows visible in screenshots.
  WINE_ENV_XCOMPMGR_PID=""
  if [ "${WINE_ENV_COMPOSITE:-0}" = 1 ] && command -v xcompmgr >/dev/null; then
    xcompmgr >/dev/null 2>&1 &
    WINE_ENV_XCOMPMGR_PID=$!
  fi

  # One long-lived server: without it every program start pays for a new one.
  "$WINESERVER64" -p </dev/null >/dev/null 2>&1
  "$WINE64" wineboot -u </dev/null >/dev/null 2>&1

  # A fresh prefix links Desktop and Documents to $HOME; shortcuts must land
  # in real folders of the prefix.
  local user_dir="$WINEPREFIX/drive_c/users/$(id -un)"
  local d
  for d in Desktop Documents; do
    if [ -L "$user_dir/$d" ]; then
      rm -f "$user_dir/$d"
      mkdir -p "$user_dir/$d"
    fi
  done

  # Without a window manager, hiding or destroying a visible top-level window
  # costs about two seconds unless Wine manages the windows itself.
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1

  # Chinese text: GDI+ does not find "微软雅黑" by itself; map it to the
  # CJK font from Debian. Caption glyphs need Wine's own fonts in C:\windows\Fonts.
  cp -f /usr/share/wine/fonts/{tahoma,tahomabd,marlett,wingding,symbol}.ttf \
     "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  "$WINE64" regedit /S "$(winepath_w "$_wine_env_here/wine/fonts.reg")" </dev/null >/dev/null 2>&1
}

# Unix path -> Windows path inside the prefix (Z: maps /).
winepath_w() {
  printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"
}

wine_env_stop() {
  "$WINESERVER64" -k >/dev/null 2>&1 || true
  [ -n "${WINE_ENV_XCOMPMGR_PID:-}" ] && kill "$WINE_ENV_XCOMPMGR_PID" >/dev/null 2>&1 || true
  [ -n "${WINE_ENV_XVFB_PID:-}" ] && kill "$WINE_ENV_XVFB_PID" >/dev/null 2>&1 || true
  wait "${WINE_ENV_XVFB_PID:-}" 2>/dev/null || true
}
