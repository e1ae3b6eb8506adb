#!/usr/bin/env bash
# Runs a command in a private X server with its own D-Bus session and
# accessibility bus, so tests can talk to the program as assistive tools do.
set -u
for tool in Xvfb dbus-run-session xdotool; do
    command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done
# Xvfb picks a free display itself and names it once it accepts clients;
# -noreset keeps it from restarting, and refusing clients meanwhile, each time
# the last client (the readiness probe, the bus launcher) lets go.
ready=$(mktemp)
log=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$ready" >"$log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -f "$ready" "$log"' EXIT
display=""
for _ in $(seq 300); do
    display=$(head -n1 "$ready" 2>/dev/null)
    [ -n "$display" ] && break
    kill -0 $xvfb 2>/dev/null || { echo "Xvfb did not start"; exit 1; }
    sleep 0.1
done
[ -n "$display" ] || { echo "Xvfb did not become ready"; cat "$log"; exit 1; }
export DISPLAY=":$display"
# Only go on once a client can really connect.
for _ in $(seq 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
done
xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "cannot connect to $DISPLAY"; cat "$log"; exit 1; }
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
