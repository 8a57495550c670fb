#!/usr/bin/env bash
# Starts the real Tornevo.exe under Wine on an X server with a window manager, checks its
# window, takes a screenshot, calculates with Alt+C and ends it with Alt+X.
# Usage: windows_smoke_test.sh wine-run path/to/Tornevo.exe screenshot.png
#   (run it on a display with a window manager: tests/win32/with_window_manager.sh)
# TORNEVO_SCREENSHOT=path also saves the screenshot there (docs/screenshot-windows.png).
set -euo pipefail
[[ ${SMOKE_TRACE:-} ]] && set -x

wine_run=$1
program=$2
screenshot=$3
work=$(mktemp -d)
app=
cleanup() {
    [[ -n $app ]] && kill "$app" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/x11_window.sh"

"$wine_run" "$program" &
app=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^RCF/RPM Conversion$') \
    || fail "no window titled 'RCF/RPM Conversion' appeared"
window=${window%%$'\n'*}
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"

check_client_area_and_title "$window"

within_10s() { # condition: grabs the screen until it holds
    for _ in $(seq 50); do
        grab
        "$1" && return 0
        sleep 0.2
    done
    return 1
}
within_10s selected || fail "the radius text is not selected at start"
echo "ok: radius text selected at start"

# The window with its frame, as a user sees it. A busy window manager may set the frame's
# size a moment after the window shows.
for _ in $(seq 50); do
    extents=$(xprop -id "$window" _NET_FRAME_EXTENTS)
    [[ $extents == *=* ]] && break
    sleep 0.2
done
[[ $extents == *=* ]] || fail "the window manager gave the window no frame: $extents"
read -r left right top bottom < <(sed 's/.*= //; s/,//g' <<<"$extents")
pamcut -left $((X - left)) -top $((Y - top)) -width $((WIDTH + left + right)) -height $((HEIGHT + top + bottom)) \
    "$work/screen.pnm" | pnmtopng > "$screenshot"
echo "ok: screenshot $screenshot"
if [[ -n ${TORNEVO_SCREENSHOT:-} ]]; then
    cp "$screenshot" "$TORNEVO_SCREENSHOT"
    echo "ok: screenshot $TORNEVO_SCREENSHOT"
fi

xdotool key --clearmodifiers alt+c
within_10s answered || fail "Alt+C showed no answer"
echo "ok: Alt+C shows an answer"

xdotool key --clearmodifiers alt+x
for _ in $(seq 100); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$app" 2>/dev/null && fail "Alt+X did not end the program"
status=0
wait "$app" || status=$?
app=
((status == 0)) || fail "the program ended with status $status after Alt+X"
echo "ok: Alt+X ends the program with status 0"
echo "smoke test passed"
