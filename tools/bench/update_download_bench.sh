#!/usr/bin/env bash
# Benchmark, run by hand: the self-update's download (50 MB by default) from
# the local stand-in under Wine, against curl fetching the same file from the
# same stand-in natively. Prints both times (best of three) and their ratio.
#   tools/bench/update_download_bench.sh [build folder, default build/win64] [MB]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(cd "${1:-$here/build/win64}" && pwd)"
megabytes="${2:-50}"
bytes=$((megabytes * 1048576))

cmake --build "$build" --target update_download_bench -j 2 >/dev/null
work="$build/bench"
mkdir -p "$work"

source "$here/tools/wine-env.sh"
standin_pid=""
cleanup() {
  [ -n "$standin_pid" ] && kill "$standin_pid" 2>/dev/null || true
  wine_env_stop
}
trap cleanup EXIT
wine_env_start "$work/wine-download" >/dev/null 2>&1

rm -f "$work/standin.port"
python3 "$here/tools/standin/standin.py" --port 0 --port-file "$work/standin.port" --quiet &
standin_pid=$!
for _ in $(seq 1 100); do [ -s "$work/standin.port" ] && break; sleep 0.1; done
port="$(cat "$work/standin.port")"
url="http://127.0.0.1:$port/files/bench.bin"
curl -s -X POST "http://127.0.0.1:$port/__control/file/bench.bin?size=$bytes" >/dev/null

run_updater() {  # prints seconds spent in DownloadUpdate; an incomplete download ends the benchmark
  local line
  line="$(/usr/lib/wine/wine64 "$build/update_download_bench.exe" "$url")" || { echo "$line" >&2; exit 1; }
  echo "$line" | awk '{print $4}'
}
run_curl() {  # prints seconds curl spent on the transfer
  curl -s -o "$work/curl.bin" -w '%{time_total}\n' "$url"
}
run_updater >/dev/null  # one untimed round each: warm caches, first Wine start
run_curl >/dev/null

best() {  # best of three
  local fn=$1
  for _ in 1 2 3; do $fn; done | sort -g | head -n 1
}
updater_s=$(best run_updater)
curl_s=$(best run_curl)

appdata="$(/usr/lib/wine/wine64 cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')"
downloaded="$(/usr/lib/wine/wine64 winepath -u "$appdata\\cache\\qvvortmp.exe" 2>/dev/null || true)"
if [ -n "$downloaded" ] && cmp -s "$downloaded" "$work/curl.bin"; then
  echo "downloads identical"
else
  echo "DOWNLOADS DIFFER"
fi
awk -v u="$updater_s" -v c="$curl_s" -v mb="$megabytes" 'BEGIN {
  printf "file: %d MB from the stand-in on 127.0.0.1\n", mb
  printf "ExcuUpdate download under Wine (best of 3): %.3f s (%.1f MB/s)\n", u, mb / u
  printf "curl natively              (best of 3): %.3f s (%.1f MB/s)\n", c, mb / c
  printf "ratio ExcuUpdate / curl: %.2f\n", u / c
}'
rm -f "$work/curl.bin"
