#!/bin/sh
# sjis-crlf.sh IN OUT: a UTF-8 text as Shift-JIS with CR LF line ends.
set -e
iconv -f UTF-8 -t CP932 "$1" | sed 's/$/\r/' > "$2"
