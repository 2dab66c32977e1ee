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
