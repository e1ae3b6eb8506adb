#!/usr/bin/env bash
# Fails when any of the given executables loads QtWidgets.
status=0
for binary in "$@"; do
    if ! libraries=$(ldd "$binary"); then
        echo "cannot read the libraries of $binary"
        status=1
    elif grep -q 'libQt6Widgets' <<<"$libraries"; then
        echo "$(basename "$binary") loads QtWidgets"
        status=1
    fi
done
[ "$#" -gt 0 ] || { echo "no executables given"; status=1; }
exit $status
