#!/usr/bin/env bash
# Runs a command on a nested X server whose screen can change size: Xephyr,
# 800 x 600, inside a private Xvfb (which cannot change its own). Exits with 77,
# a skip, when either server is not installed.
set -u
for tool in Xvfb Xephyr xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null
        wait "${pids[i]}" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT

# Starts an X server that names its display on fd 3, waits until it accepts
# clients and leaves its number in $display.
start() {
    local name=$1
    shift
    "$@" -displayfd 3 -nolisten tcp -noreset 3>"$work/$name.display" >"$work/$name.log" 2>&1 &
    pids+=($!)
    display=""
    for _ in $(seq 200); do
        display=$(head -n1 "$work/$name.display" 2>/dev/null)
        [ -n "$display" ] && break
        kill -0 "${pids[-1]}" 2>/dev/null || { echo "$name did not start"; cat "$work/$name.log"; exit 1; }
        sleep 0.05
    done
    [ -n "$display" ] || { echo "$name did not become ready"; cat "$work/$name.log"; exit 1; }
    for _ in $(seq 100); do
        DISPLAY=":$display" xdotool getdisplaygeometry >/dev/null 2>&1 && break
        sleep 0.05
    done
}

start xvfb Xvfb -screen 0 1280x1024x24
export DISPLAY=":$display"
start xephyr Xephyr -screen 800x600x24 -resizeable
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
"$@"
