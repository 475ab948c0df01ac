#!/usr/bin/env bash
# Benchmark, run by hand: extracting a large archive (200 MB in 2,000 files by
# default) through the launcher's ZIP reader under Wine, against Debian's unzip
# on the same archive natively. Prints both times and their ratio.
#   tools/bench/zip_reader_bench.sh [build folder, default build/win64] [MB] [files]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(cd "${1:-$here/build/win64}" && pwd)"
megabytes="${2:-200}"
files="${3:-2000}"

cmake --build "$build" --target zip_reader_bench -j 2 >/dev/null
work="$build/bench"
mkdir -p "$work"
archive="$work/bench-${megabytes}mb-${files}.zip"
[ -f "$archive" ] || python3 "$here/tools/bench/make_bench_zip.py" "$archive" "$megabytes" "$files"

source "$here/tools/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start "$work/wine" >/dev/null 2>&1

# One untimed round each first, so both read the archive from the page cache.
run_reader() {
  rm -rf "$work/out-reader"
  /usr/lib/wine/wine64 "$build/zip_reader_bench.exe" "$(winepath_w "$archive")" "$(winepath_w "$work/out-reader")"
}
run_unzip() {
  rm -rf "$work/out-unzip"
  unzip -q -o "$archive" -d "$work/out-unzip"
}
run_reader >/dev/null
run_unzip

best() {  # best wall time in seconds of three runs of a function
  local fn=$1 best_ns="" start end
  for _ in 1 2 3; do
    start=$(date +%s%N)
    $fn >/dev/null
    end=$(date +%s%N)
    if [ -z "$best_ns" ] || [ $((end - start)) -lt "$best_ns" ]; then best_ns=$((end - start)); fi
  done
  echo "$best_ns"
}
reader_ns=$(best run_reader)
unzip_ns=$(best run_unzip)
echo "reader line: $(run_reader)"
diff -r -q "$work/out-reader" "$work/out-unzip" >/dev/null && echo "outputs identical" || echo "OUTPUTS DIFFER"
awk -v r="$reader_ns" -v u="$unzip_ns" -v mb="$megabytes" -v n="$files" 'BEGIN {
  printf "archive: %d MB in %d files\n", mb, n
  printf "CZipReader under Wine (wall, best of 3): %.3f s\n", r / 1e9
  printf "unzip natively        (wall, best of 3): %.3f s\n", u / 1e9
  printf "ratio reader / unzip: %.2f\n", r / u
}'
rm -rf "$work/out-reader" "$work/out-unzip"
