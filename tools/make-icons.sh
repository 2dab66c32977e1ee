#!/usr/bin/env bash
# Draws the program icon and the job-file icon at 256 pixels with ImageMagick and
# writes res/Orvane.ico and res/OrvaneJob.ico with 16, 32, 48 and 256 pixel images.
# The results are kept in the repository; run this only to change the drawing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
im=/usr/bin/convert # another "convert" may come first on PATH
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Two arrows chasing each other round a circle: the two folders kept in step.
arrows() { # colour
  echo "-fill none -stroke $1 -strokewidth 22" \
       "-draw 'ellipse 128,128 70,70 200,330' -draw 'ellipse 128,128 70,70 20,150'" \
       "-fill $1 -stroke none" \
       "-draw 'polygon 196,76 226,132 168,128' -draw 'polygon 60,180 30,124 88,128'"
}

eval "$im -size 256x256 xc:none \
  -fill '#2f6db5' -draw 'roundrectangle 8,8 247,247 40,40' \
  -fill '#4d8ad6' -draw 'roundrectangle 8,8 247,128 40,40' -draw 'rectangle 8,90 247,128' \
  $(arrows white) $work/program.png"

eval "$im -size 256x256 xc:none \
  -fill white -stroke '#555555' -strokewidth 6 \
  -draw 'polygon 40,10 170,10 220,60 220,246 40,246' \
  -fill '#dddddd' -draw 'polygon 170,10 170,60 220,60' -stroke none \
  -fill '#2f6db5' -draw 'roundrectangle 62,88 198,224 20,20' \
  $work/page.png"
# The arrows, smaller, on the page.
eval "$im -size 256x256 xc:none $(arrows white) -resize 120x120 $work/small.png"
$im "$work/page.png" "$work/small.png" -geometry +70+96 -composite "$work/job.png"

for name in program job; do
  for size in 16 32 48; do
    $im "$work/$name.png" -resize ${size}x${size} "$work/$name-$size.png"
  done
done
$im "$work/program-16.png" "$work/program-32.png" "$work/program-48.png" "$work/program.png" \
    "$root/res/Orvane.ico"
$im "$work/job-16.png" "$work/job-32.png" "$work/job-48.png" "$work/job.png" \
    "$root/res/OrvaneJob.ico"

# The toolbar's buttons for settling a conflict, after its first seven images
# (16 x 15 on the toolbar's grey): the side whose version is kept (the filled
# box: processing on the left, reference on the right) and the arrow towards
# the side it replaces.
toolbar="$root/res/toolbar.bmp"
$im "$toolbar" -crop 112x15+0+0 +repage "$work/toolbar-first.png"
$im -size 16x15 xc:'#c0c0c0' -fill '#3a5fb0' -stroke '#1c2f58' -draw 'rectangle 1,2 6,12' \
    -stroke '#202020' -draw 'line 8,7 12,7' -fill '#202020' -stroke none \
    -draw 'polygon 12,4 15,7 12,10' "$work/keep-processing.png"
$im -size 16x15 xc:'#c0c0c0' -fill '#2e8b3a' -stroke '#17461d' -draw 'rectangle 9,2 14,12' \
    -stroke '#202020' -draw 'line 3,7 7,7' -fill '#202020' -stroke none \
    -draw 'polygon 3,4 0,7 3,10' "$work/keep-reference.png"
$im "$work/toolbar-first.png" "$work/keep-processing.png" "$work/keep-reference.png" +append \
    -type TrueColor BMP3:"$toolbar"
