#!/usr/bin/env bash
# Draws the program's icon as a PNG (the same picture as resources/corvexo-app.svg):
# a local page and a remote page on navy, with arrows both ways.
set -euo pipefail
cd "$(dirname "$0")/../resources"
convert -size 64x64 xc:none \
  -fill '#080853' -draw 'roundrectangle 2,2 61,61 10,10' \
  -fill '#ffffc0' -draw 'roundrectangle 9,16 28,45 2,2' \
  -fill '#c0d8ff' -draw 'roundrectangle 35,16 54,45 2,2' \
  -fill '#ff9f40' -draw 'polygon 24,24 38,24 38,19 46,27 38,35 38,30 24,30' \
  -fill '#40c0ff' -draw 'polygon 40,42 26,42 26,47 18,39 26,31 26,36 40,36' \
  PNG32:corvexo-app.png
