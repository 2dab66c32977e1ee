#!/usr/bin/env bash
# Runs one test program under Wine for CTest (the toolchain's emulator).
#
# Rarely (measured: about one start in 400, two starts at a time) Wine ends a
# process with exit code 1 and no output within a few milliseconds, before the
# program's main has run. Such a start is made again, at most twice, and said on
# standard error; a program that reached its main (gtest's first line) is never
# run again, so a real failure stays a failure.
set -u
out=$(mktemp) err=$(mktemp)
child=""
finish() {
  cat "$out"
  cat "$err" >&2
  rm -f "$out" "$err"
}
# CTest ends a test that runs too long: take Wine's process down too, and show
# what it had written.
trap '[ -n "$child" ] && kill "$child" 2>/dev/null; finish; exit 143' TERM INT
for attempt in 1 2 3; do
  wine "$@" >"$out" 2>"$err" </dev/null &
  child=$!
  wait "$child"
  rc=$?
  child=""
  if [ "$rc" -eq 0 ] || [ -s "$out" ]; then
    break
  fi
  echo "wine-run: $1 ended with $rc before writing anything (start $attempt of 3)" >&2
done
finish
exit "$rc"
