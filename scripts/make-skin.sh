#!/usr/bin/env bash
# Draws the pictures of resources/Skin with scripts/skin/ (Qt's painter) and ImageMagick, which joins
# the icon sizes into Application.ico and the animation frames into wait_search.gif.
# Run by hand after changing a picture, then commit the files; the build does not run it.
# Needs: g++, qt6-base-dev, pkg-config, imagemagick, fonts-dejavu-core, fonts-wqy-microhei.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

g++ -std=c++20 -O1 -fPIC -o "$work/make_skin" scripts/skin/*.cpp $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$work/make_skin" "$work"

convert "$work"/icon_{16,24,32,48,64,256}.png "$work/Application.ico"
convert -delay 8 -loop 0 -dispose previous "$work"/wait_frame_*.png -background white -alpha remove \
  -colors 64 "$work/wait_search.gif"
rm -f "$work"/icon_*.png "$work"/wait_frame_*.png "$work/make_skin"

mkdir -p resources/Skin
cp "$work"/* resources/Skin/
echo "Skin pictures written to resources/Skin/"
