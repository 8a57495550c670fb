#!/usr/bin/env bash
# Starts the real program on a real X server with a window manager, checks its window,
# takes a screenshot, calculates with Alt+C, and ends it with Alt+X and with the close box.
# Usage: smoke_test.sh path/to/tornevo screenshot.png   (run on an X display: tests/x11/own-display)
set -euo pipefail
[[ ${SMOKE_TRACE:-} ]] && set -x

program=$1
screenshot=$2
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/x11_window.sh"

# A window manager, so that the window gets a frame and the focus as on a desktop.
openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    [[ $(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) == *"window id"* ]] && break
    sleep 0.1
done

start() { # starts the program; sets app and window
    "$program" &
    app=$!
    pids+=("$app")
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^RCF/RPM Conversion$') \
        || fail "no window titled 'RCF/RPM Conversion' appeared"
    window=${window%%$'\n'*}
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
    for _ in $(seq 50); do
        [[ $(xdotool getactivewindow 2>/dev/null) == "$window" ]] && break
        sleep 0.1
    done
}

ends_by() { # key: the program must end with status 0 within 5 s
    xdotool key --clearmodifiers "$1"
    for _ in $(seq 50); do
        kill -0 "$app" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$app" 2>/dev/null && fail "$1 did not end the program"
    wait "$app" || fail "the program ended with status $? after $1"
    echo "ok: $1 ends the program"
}

pixel() { # x y of the screen: prints "r g b"
    pamcut -left "$1" -top "$2" -width 1 -height 1 "$work/screen.pnm" | pnmnoraw | tail -n 1 | xargs
}


start

# The client area, its title, and the frame centred on the screen.
check_client_area_and_title "$window"
icon=$(xprop -id "$window" _NET_WM_ICON) # whole, not piped to grep -q: pipefail would see SIGPIPE
[[ $icon == *"Icon (70 x 72)"* ]] || fail "no 70x72 window icon"
echo "ok: 70x72 window icon"
read -r left right top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
read -r screen_width screen_height < <(xdpyinfo | sed -n 's/.*dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p')
frame_x=$((X - left)) frame_y=$((Y - top))
frame_width=$((WIDTH + left + right)) frame_height=$((HEIGHT + top + bottom))
off_x=$((2 * frame_x + frame_width - screen_width)) off_y=$((2 * frame_y + frame_height - screen_height))
((off_x >= -1 && off_x <= 1 && off_y >= -1 && off_y <= 1)) \
    || fail "frame ${frame_width}x${frame_height}+${frame_x}+${frame_y} not centred on ${screen_width}x${screen_height}"
echo "ok: frame ${frame_width}x${frame_height} centred at +${frame_x}+${frame_y}"

# The start state on screen: the answer box empty and white, the radius text selected.
grab
within_5s() { # condition: grabs the screen until it holds
    for _ in $(seq 25); do
        "$1" && return 0
        sleep 0.2
        grab
    done
    return 1
}
within_5s selected || fail "the radius text is not selected at start"
echo "ok: radius text selected at start"
for dx in 4 28 52; do
    [[ $(pixel $((X + 24 + dx)) $((Y + 194 + 10))) == "255 255 255" ]] || fail "answer box not white and empty"
done
echo "ok: answer box white and empty"
pamcut -left "$frame_x" -top "$frame_y" -width "$frame_width" -height "$frame_height" "$work/screen.pnm" \
    | pnmtopng > "$screenshot"
echo "ok: screenshot $screenshot"

# Alt+C calculates: digits appear in the answer box.
xdotool key --clearmodifiers alt+c
grab
within_5s answered || fail "Alt+C showed no answer"
echo "ok: Alt+C shows an answer"

ends_by alt+x
start
ends_by alt+F4 # the close box, through the window manager
echo "smoke test passed"
