#!/usr/bin/env bash
# Times the program from process start to the login window shown, and on to
# the menu window after the password, under Xvfb: with the default database
# and with the benchmarks' 1,000,000-record tables (build/bench-data, made by
# bench/dataset_bench or engine_bench). Prints the median of RUNS runs (5).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-5}
work=$(mktemp -d)
display=:96
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work
export ARSIPSTAF_ENGINE_CONFIG=$work/engine.conf
sleep 1

now() { date +%s%N; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

measure() {
    local label=$1 login_times=() menu_times=()
    for _ in $(seq "$runs"); do
        local start login menu app
        start=$(now)
        build/app/arsipstaf &
        app=$!
        login=$(xdotool search --sync --onlyvisible --name "Form Login" | head -1)
        local shown=$(now)
        xdotool windowfocus --sync "$login" type "mawar"
        local typed=$(now)
        xdotool mousemove --window "$login" 60 84 click 1
        xdotool search --sync --onlyvisible --name "Pengelolaan Data Mutasi" >/dev/null
        menu=$(now)
        kill "$app"
        wait "$app" 2>/dev/null || true
        login_times+=($(( (shown - start) / 1000000 )))
        menu_times+=($(( (menu - typed) / 1000000 )))
    done
    printf '%s: login window %s ms, menu window after the password %s ms (median of %s)\n' "$label" \
        "$(printf '%s\n' "${login_times[@]}" | median)" "$(printf '%s\n' "${menu_times[@]}" | median)" "$runs"
}

build/tools/arsipstaf-admin init "$work/default" >/dev/null
measure "default database"
if [ -f build/bench-data/1000000/complete ]; then
    build/tools/arsipstaf-admin init build/bench-data/1000000 >/dev/null
    measure "1,000,000 employee records"
else
    echo "no build/bench-data/1000000: run build/bench/dataset_bench once to make it"
fi
