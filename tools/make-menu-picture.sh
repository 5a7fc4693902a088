#!/usr/bin/env bash
# Rebuilds assets/menu-picture.jpg from the world map of Debian's
# xplanet-images package (NASA imagery, not copyrighted).
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
map=/usr/share/xplanet/images/earth.jpg
if [ ! -f "$map" ]; then
    (cd "$work" && apt-get download xplanet-images >/dev/null && dpkg-deb -x xplanet-images_*.deb root)
    map="$work/root/usr/share/xplanet/images/earth.jpg"
fi
g++ -std=c++20 -O2 -fPIC tools/menu-picture/compose.cpp -o "$work/compose" $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$work/compose" "$map" assets/menu-picture.jpg
ls -l assets/menu-picture.jpg
