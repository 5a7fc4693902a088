#!/usr/bin/env bash
# Runs the program under Xvfb on a throw-away database and takes screenshots
# of the login window, a wrong-password box, the menu window, an open menu,
# the leave confirmation, the error box of a start-up without tables, and,
# under openbox, the menu window closed by its frame, the usage window
# scrolled to its end and moved one line by its scroll-bar arrow, then the
# record windows opened by their short-cuts: a typed name kept while the
# employee list opens, an impossible date kept after its error box, a blank
# NIP focused by the completeness complaint, and the transfer grid left by
# Ctrl+Tab. Needs xvfb, xdotool and openbox (tools/deps.sh). Writes PNGs to
# the folder given (default build/screenshots).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
mkdir -p "$out"
work=$(mktemp -d)
display=:97
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
app=""
wm=""
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null || true
    [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
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

# Under a window manager: the frame's close box on the menu window returns
# to the login window; the usage window scrolls to its last lines.
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
login=$(xdotool search --onlyvisible --name "Form Login" | head -1)
if [ -n "$login" ]; then
    xdotool mousemove --window "$login" 150 20 click 1 type "mawar"
    xdotool mousemove --window "$login" 60 84 click 1
fi
menu=$(xdotool search --sync --onlyvisible --name "Pengelolaan Data Mutasi" | head -1)
xdotool windowactivate --sync "$menu" key alt+F4
shot menu-closed-by-frame
login=$(xdotool search --sync --onlyvisible --name "Form Login" | head -1)
xdotool mousemove --window "$login" 150 20 click 1 type "mawar"
xdotool mousemove --window "$login" 60 84 click 1
menu=$(xdotool search --sync --onlyvisible --name "Pengelolaan Data Mutasi" | head -1)
xdotool mousemove --window "$menu" 195 8 click 1
sleep 0.5
xdotool mousemove --window "$menu" 254 28 click 1  # "Penggunaan Program"
usage=$(xdotool search --sync --onlyvisible --name "Form Sekilas Penggunaan Program" | head -1)
xdotool mousemove --window "$usage" 100 100 click 1 key Next Next Next
shot usage-scrolled-to-end
# A real click on the bar's lower arrow moves the text by one line.
xdotool key Home
xdotool mousemove --window "$usage" 538 424 click 1
shot usage-arrow-one-line

# Record windows under openbox, by keys from the menu window.
xdotool key --clearmodifiers Escape
sleep 0.3
menu=$(xdotool search --sync --onlyvisible --name "Pengelolaan Data Mutasi" | head -1)
xdotool windowactivate --sync "$menu" key ctrl+p
employee=$(xdotool search --sync --onlyvisible --name "Form Data Pegawai" | head -1)
xdotool windowactivate --sync "$employee"
xdotool mousemove --window "$employee" 48 316 click 1  # "Tambah"
sleep 0.3
xdotool type --delay 40 "7000000001"
xdotool key Tab
xdotool type --delay 40 "70000001"
xdotool key Tab
xdotool type --delay 40 "Nama Harus Tersimpan"
shot employee-name-typed
# Typed text stays while the employee list opens for the first time.
xdotool windowactivate --sync "$menu" key ctrl+d
sleep 1
shot employee-list-opened
xdotool windowactivate --sync "$employee"
shot employee-name-kept
# Everything but the date of birth, "Simpan", the complaint, then an
# impossible date.
xdotool key Tab
xdotool type --delay 40 "Bandung"
xdotool key Tab Tab Down Tab Down Tab
xdotool type --delay 40 "Jalan Mawar 1"
xdotool key Tab Down Tab Down Tab Down Tab Down Tab
xdotool type --delay 40 "Diklatpim"
xdotool key Tab Down
shot employee-all-but-date
xdotool mousemove --window "$employee" 236 316 click 1  # "Simpan"
shot employee-completeness-complaint
xdotool key Return
shot employee-date-focused
xdotool type --delay 40 "02311990"
xdotool key Tab
shot employee-impossible-date-box
xdotool key Return
shot employee-impossible-date-kept
# A blank key focused by the complaint shows its blanks.
xdotool key Escape
xdotool mousemove --window "$employee" 142 316 click 1  # "Batal"
sleep 0.3
xdotool mousemove --window "$employee" 48 316 click 1   # "Tambah"
sleep 0.3
xdotool key Tab
xdotool type --delay 40 "70000002"
xdotool mousemove --window "$employee" 236 316 click 1  # "Simpan"
shot employee-blank-key-complaint
xdotool key Return
shot employee-blank-key-focused
xdotool mousemove --window "$employee" 142 316 click 1  # "Batal"
# The transfer window: the focus in its grid, then Ctrl+Tab out of it.
xdotool windowactivate --sync "$menu" key ctrl+m
transfer=$(xdotool search --sync --onlyvisible --name "Form Data Mutasi" | head -1)
xdotool windowactivate --sync "$transfer"
xdotool mousemove --window "$transfer" 200 300 click 1
shot transfer-grid-focused
xdotool key ctrl+Tab
shot transfer-after-ctrl-tab
