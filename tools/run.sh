#!/usr/bin/env bash
# Builds Orvane and starts it on a ready demo job. On a machine with a display the
# settings dialog opens for the demo job, then the result list. Without a display
# the same job runs unattended ("-s") on a virtual display and what it did is
# printed: the operation log and both folders before and after.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh" --target Orvane --target OrvaneSetup
build="${ORVANE_BUILD_DIR:-$root/build}"
demo="$root/demo"
"$root/tools/make-demo.sh" "$demo"

source "$root/tools/wine-env.sh"
interactive=1
if [ -z "${DISPLAY:-}" ]; then
  interactive=0
  export ORVANE_OWN_XVFB=1
fi
trap wine_env_stop EXIT
wine_env_start "$build/wine-run-prefix"

exe="$build/app/Orvane.exe"
job="$(winepath -w "$demo/demo.orvane" 2>/dev/null)"
if [ "$interactive" = 1 ]; then
  echo "Orvane: the settings dialog shows the demo job; 検索開始 lists what it would do."
  wine "$exe" "$job"
  exit 0
fi

list() { (cd "$1" && find . -mindepth 1 | LC_ALL=C sort | sed 's/^\.\//    /'); }
echo "No display: running the demo job unattended: Orvane.exe -s demo.orvane"
echo "Before:"; echo "  処理フォルダ (processing):"; list "$demo/処理フォルダ"
echo "  参照フォルダ (reference):"; list "$demo/参照フォルダ"
timeout 120 wine "$exe" -s "$job"
echo "Operation log:"
for log in "$demo"/logs/*.log; do
  echo "  $(basename "$log")"
  iconv -f CP932 -t UTF-8 "$log" | tr -d '\r' | sed 's/^/    /'
done
echo "After:"; echo "  処理フォルダ (processing):"; list "$demo/処理フォルダ"
echo "  参照フォルダ (reference):"; list "$demo/参照フォルダ"
