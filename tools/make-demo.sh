#!/usr/bin/env bash
# Makes a small demo: two folders with a few differences (some names Japanese)
# and a job file that brings the reference folder up to date with deletions and
# a log. Usage: make-demo.sh DEMO_DIR
set -euo pipefail
demo=$1
rm -rf "$demo"
proc="$demo/処理フォルダ"
ref="$demo/参照フォルダ"
mkdir -p "$proc/資料/表計算" "$proc/images" "$ref/資料" "$ref/old" "$demo/logs"

echo "議事録 2026" >"$proc/資料/議事録.txt"
echo "売上表"      >"$proc/資料/表計算/売上表.csv"
echo "readme"     >"$proc/readme.txt"
echo "logo"       >"$proc/images/logo.png"
echo "ソース"     >"$proc/ソース.txt"

echo "議事録 2025" >"$ref/資料/議事録.txt"
echo "readme"     >"$ref/readme.txt"
echo "obsolete"   >"$ref/old/obsolete.txt"
echo "memo"       >"$ref/メモ.txt"

# The processing side is newer where both have a file; readme.txt is the same.
touch -d '2026-12-01 10:00:00' "$ref/資料/議事録.txt"
touch -d '2026-12-05 09:30:00' "$proc/資料/議事録.txt"
touch -d '2026-11-01 08:00:00' "$proc/readme.txt" "$ref/readme.txt"

winpath() { printf 'Z:%s' "$(cd "$1" && pwd)" | tr / '\\'; }
{
  printf '[Settings]\r\n'
  printf 'Mode=2\r\n'
  printf 'BaseDir=%s\r\n' "$(winpath "$proc")"
  printf 'TargetDir=%s\r\n' "$(winpath "$ref")"
  printf 'OutputLog=1\r\nIsSynExist=0\r\nSubFolder=1\r\nNotDel=1\r\nDelWarning=1\r\n'
  printf 'AddExt=\r\nDelExt=\r\n'
  printf 'LogDir=%s\r\n' "$(winpath "$demo/logs")"
  printf '2Sec=1\r\nFirstCopy=1\r\nRmDir=\r\n'
  # What the run deletes or overwrites is kept in the reference folder's
  # versions folder, under the run's start time.
  printf 'UseRecycle=1\r\nVersions=1\r\nVersionsDir=\r\nVersionsDays=30\r\nVersionsRuns=0\r\n'
} | iconv -f UTF-8 -t CP932 >"$demo/demo.orvane"
