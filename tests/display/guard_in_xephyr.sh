#!/usr/bin/env bash
# The display guard as a user meets it on an 800 x 600 X display: the question,
# the test dialog with the screen at 1024 x 768, "Testar video", and the old
# size back once the program ends. Run inside xephyr_session.sh.
# Usage: guard_in_xephyr.sh PROGRAM_FOLDER
set -u
template=$1
work=$(mktemp -d)
program=""
trap '[ -n "$program" ] && kill "$program" 2>/dev/null; rm -rf "$work"' EXIT
cp -r "$template" "$work/program"
export XDG_CONFIG_HOME="$work/config" VOSMIRA_PROGRAM_FOLDER="$work/program/"

screen() { xdotool getdisplaygeometry | tr ' ' x; }
fail() { echo "FAIL: $*"; exit 1; }
# Waits for a shown window whose title matches, gives it the keyboard and presses a key.
press() {
    local title=$1 key=$2 window
    window=$(timeout 20 xdotool search --sync --onlyvisible --name "$title" | head -n1)
    [ -n "$window" ] || fail "no window \"$title\""
    xdotool windowfocus --sync "$window" key "$key"
}

[ "$(screen)" = 800x600 ] || fail "the nested screen starts at $(screen)"
"$work/program/vosmira" &
program=$!

press '^Configurações$' Return
# The dialog counts down at 1024 x 768.
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^ Vosmira$' | head -n1)
[ -n "$window" ] || fail "no test dialog"
[ "$(screen)" = 1024x768 ] || fail "screen at $(screen) while the dialog is shown"
press '^ Vosmira$' Return
timeout 20 xdotool search --sync --onlyvisible --name '^Vosmira$' >/dev/null || fail "no main window"
[ "$(screen)" = 1024x768 ] || fail "screen at $(screen) with the main window"
[ ! -e "$XDG_CONFIG_HOME/Vosmira/Vosmira_config.ini" ] || fail "consent written without the box ticked"

# Ended as a session logout ends it: through the main window's close.
kill -TERM "$program"
wait "$program"
status=$?
program=""
[ "$status" -eq 0 ] || fail "the program ended with $status"
[ "$(screen)" = 800x600 ] || fail "screen left at $(screen)"
echo "PASS: asked, tested at 1024x768, back at 800x600 on exit"
