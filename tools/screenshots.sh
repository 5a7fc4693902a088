#!/usr/bin/env bash
# Runs the program under Xvfb on a throw-away database and takes screenshots
# of the login window, a wrong-password box, the menu window, an open menu,
# the leave confirmation and the error box of a start-up without tables.
# Needs xvfb and xdotool (tools/deps.sh). Writes PNGs to the folder given
# (default build/screenshots).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
mkdir -p "$out"
work=$(mktemp -d)
display=:97
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
app=""
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work
g++ -std=c++20 -O1 -fPIC tools/screenshot/grab.cpp -o "$work/grab" $(pkg-config --cflags --libs Qt6Gui)
sleep 1

shot() { sleep 0.7; "$work/grab" "$out/$1.png"; echo "$out/$1.png"; }
window() { xdotool search --sync --name "$1" | head -1; }

# Start-up without tables: the error box, then the program ends.
build/app/arsipstaf &
app=$!
shot error-box
xdotool key Return
wait "$app" || echo "start-up without tables ended with status $?"
app=""

build/tools/arsipstaf-admin init >/dev/null
build/app/arsipstaf &
app=$!
login=$(window "Form Login")
shot login
xdotool windowfocus --sync "$login" type "salah"
xdotool mousemove --window "$login" 60 84 click 1
shot wrong-password
xdotool key Return
xdotool windowfocus --sync "$login" type "mawar"
xdotool mousemove --window "$login" 60 84 click 1
menu=$(window "Pengelolaan Data Mutasi")
shot menu
xdotool mousemove --window "$menu" 15 8 click 1
shot menu-open
xdotool key Escape
xdotool windowfocus --sync "$menu" key ctrl+x
shot leave-confirmation
xdotool key n
shot leave-answered-no
