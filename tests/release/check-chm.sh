#!/bin/sh
# check-chm.sh CHM TOC: the file is an HTML Help file (ITSF) that holds every
# page its table of contents names, and a contents file.
chm=$1 toc=$2
[ "$(head -c 4 "$chm")" = ITSF ] || { echo "$chm: not an ITSF file"; exit 1; }
listing=$(enum_chmLib "$chm") || { echo "$chm: cannot be read"; exit 1; }
pages=$(sed -n 's/.*name="Local" value="\([^"]*\)".*/\1/p' "$toc")
[ -n "$pages" ] || { echo "$toc: no pages found"; exit 1; }
status=0
for page in $pages toc.hhc; do
  echo "$listing" | grep -Eq "[[:space:]]/$page\$" || { echo "missing from $chm: $page"; status=1; }
done
exit $status
