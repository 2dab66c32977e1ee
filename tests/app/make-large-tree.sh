#!/bin/sh
# make-large-tree.sh FOLDER: 300 folders of 100 empty files under FOLDER, the
# folder names with a double-byte character whose second byte is a backslash.
set -e
rm -rf "$1"
mkdir -p "$1"
cd "$1"
awk 'BEGIN { for (d = 0; d < 300; d++) print "表" d }' | xargs mkdir
awk 'BEGIN { for (d = 0; d < 300; d++) for (f = 0; f < 100; f++) print "表" d "/f" f }' |
  xargs touch
