#!/usr/bin/env bash
# Builds everything and runs the whole suite under Wine on a display of its own,
# in a Wine prefix made fresh for this run. Prints CTest's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh" ${ORVANE_BUILD_TARGETS:-}
build="${ORVANE_BUILD_DIR:-$root/build}"

source "$root/tools/wine-env.sh"
export ORVANE_OWN_XVFB=1
prefix="$build/wine-test-prefix"
# A fresh prefix per run; ORVANE_KEEP_PREFIX=1 reuses the last one while iterating.
[ -n "${ORVANE_KEEP_PREFIX:-}" ] || rm -rf "$prefix"
trap wine_env_stop EXIT
wine_env_start "$prefix" "$build/tests/wine_keeper.exe"

cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
