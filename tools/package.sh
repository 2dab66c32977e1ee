#!/usr/bin/env bash
# Builds the portable zip and puts it into dist/: Orvane-<version>.zip.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh" --target orvane_zip
build="${ORVANE_BUILD_DIR:-$root/build}"
mkdir -p "$root/dist"
cp -f "$build"/dist/Orvane-*.zip "$root/dist/"
ls -l "$root"/dist/Orvane-*.zip
