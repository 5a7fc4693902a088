#!/usr/bin/env bash
# Times the program as a whole process under Xvfb: from starting it to the
# login window mapped, and from the click on the password's OK to the menu
# window mapped. build/tools/map-wait watches the X server's map events, so
# the times are exact to the millisecond (no polling). With the default
# database and, when the benchmarks made it, with the 1,000,000-record table
# ($ARSIPSTAF_BENCH_DATA, default /tmp/arsipstaf-bench-data). Prints the
# median of RUNS runs (5).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-5}
bench_data=${ARSIPSTAF_BENCH_DATA:-/tmp/arsipstaf-bench-data}
work=$(mktemp -d)
display=${XVFB_DISPLAY:-:96}
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work
export ARSIPSTAF_ENGINE_CONFIG=$work/engine.conf
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

now() { date +%s%N; }
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

measure() {
    local label=$1 login_times=() menu_times=()
    for _ in $(seq "$runs"); do
        local result login_ms app login
        # map-wait starts the program itself once it listens: "ms pid".
        result=$(build/tools/map-wait "Form Login" -- build/app/arsipstaf)
        login_ms=${result% *}
        app=${result#* }
        login=$(xdotool search --onlyvisible --name "Form Login" | head -1)
        xdotool windowfocus --sync "$login" type "mawar"
        rm -f "$work/menu" && mkfifo "$work/menu"
        build/tools/map-wait "Pengelolaan Data Mutasi" >"$work/menu" &
        local waiter=$! clicked mapped
        exec 3<"$work/menu"
        read -r _ <&3  # listening
        clicked=$(now)
        xdotool mousemove --window "$login" 60 84 click 1
        read -r mapped <&3
        exec 3<&-
        wait "$waiter"
        kill "$app"
        while kill -0 "$app" 2>/dev/null; do sleep 0.05; done
        login_times+=("$login_ms")
        menu_times+=("$(awk -v a="$mapped" -v b="$clicked" 'BEGIN {printf "%.1f", (a - b) / 1e6}')")
    done
    printf '%s: login window mapped %s ms after start, menu window %s ms after the click (median of %s)\n' "$label" \
        "$(printf '%s\n' "${login_times[@]}" | median)" "$(printf '%s\n' "${menu_times[@]}" | median)" "$runs"
}

build/tools/arsipstaf-admin init "$work/default" >/dev/null
measure "default database"
if [ -f "$bench_data/1000000/complete" ]; then
    build/tools/arsipstaf-admin init "$bench_data/1000000" >/dev/null
    measure "1,000,000 employee records"
else
    echo "no $bench_data/1000000: run build/bench/dataset_bench once to make it"
fi
