#!/usr/bin/env bash
# Runs a command in a private X server with its own D-Bus session and
# accessibility bus, so tests can talk to the program as assistive tools do.
set -u
for tool in Xvfb dbus-run-session python3; do
    command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done
for n in $(seq 300 360); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { display=$n; break; }
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null' EXIT
for _ in $(seq 100); do [ -e /tmp/.X11-unix/X$display ] && break; sleep 0.1; done
export DISPLAY=":$display"
unset QT_QPA_PLATFORM
dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    launcher=$!
    sleep 1
    "$@"
    status=$?
    kill $launcher 2>/dev/null
    exit $status
' bash "$@"
