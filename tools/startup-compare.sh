#!/usr/bin/env bash
# Start-up of the program beside its floor, a bare Qt window with a menu bar
# (build/tools/bare-window), under Xvfb: milliseconds from exec to the first
# window mapped (build/tools/map-wait) and resident memory a moment after,
# runs interleaved in a shuffled order, medians of RUNS (11) each. Further
# programs to time the same way (an earlier build, say) may be given as
# arguments.
#     tools/startup-compare.sh [OTHER_PROGRAM...]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-11}
work=$(mktemp -d)
display=${XVFB_DISPLAY:-:97}
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
build/tools/arsipstaf-admin init "$work/data" >/dev/null

median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# One run: "ms rss_kB".
once() {
    local title=$1 result ms pid rss
    shift
    result=$(build/tools/map-wait "$title" -- "$@")
    ms=${result% *}
    pid=${result#* }
    sleep 0.3
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
    kill "$pid"
    while kill -0 "$pid" 2>/dev/null; do sleep 0.02; done
    echo "$ms $rss"
}

programs=("bare-window:build/tools/bare-window" "arsipstaf:build/app/arsipstaf")
for other in "$@"; do programs+=("$other:$other"); done
for _ in $(seq "$runs"); do
    # A fresh order each round: a program's place in the round moved its
    # figure by up to a tenth of the floor on a 2-core machine.
    mapfile -t round < <(printf '%s\n' "${programs[@]}" | shuf)
    for entry in "${round[@]}"; do
        name=${entry%%:*}
        program=${entry#*:}
        title="Form Login"
        [ "$name" = bare-window ] && title="Bare Window"
        once "$title" "$program" >>"$work/$(echo "$name" | tr '/' '_').times"
    done
done
floor_ms=$(awk '{print $1}' "$work/bare-window.times" | median)
floor_rss=$(awk '{print $2}' "$work/bare-window.times" | median)
for entry in "${programs[@]}"; do
    name=${entry%%:*}
    file="$work/$(echo "$name" | tr '/' '_').times"
    ms=$(awk '{print $1}' "$file" | median)
    rss=$(awk '{print $2}' "$file" | median)
    awk -v n="$name" -v ms="$ms" -v rss="$rss" -v fm="$floor_ms" -v fr="$floor_rss" -v runs="$runs" 'BEGIN {
        printf "%-40s exec to mapped %6.1f ms (%.2fx)  RSS %6.1f MB (%.2fx)  median of %d\n",
               n, ms, ms / fm, rss / 1024, rss / fr, runs }'
done
