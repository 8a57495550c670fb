#!/usr/bin/env bash
# Runs a command on an X display with a window manager, as a desktop has: Wine waits up
# to two seconds for a window manager to withdraw each closed window and gives the
# focus as one does. Starts Xvfb when there is no display (but a wineserver that is
# still up remembers its display: run all of CTest under one xvfb-run) and openbox when
# the display has no window manager.
#   with_window_manager.sh command [arguments...]
set -euo pipefail

if [[ -z ${DISPLAY:-} ]]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24 -noreset" "$0" "$@"
fi

has_window_manager() { # the root's check window must still exist: a manager that ended leaves the property
    local check
    check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) || return 1
    [[ $check == *"window id # "* ]] || return 1
    xprop -id "${check##*# }" _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1
}

manager=
if ! has_window_manager; then
    openbox >/dev/null 2>&1 &
    manager=$!
    for _ in $(seq 100); do
        has_window_manager && break
        sleep 0.1
    done
fi
status=0
"$@" || status=$?
if [[ -n $manager ]]; then
    kill "$manager" 2>/dev/null
    wait "$manager" 2>/dev/null || true # gone, so the next test does not count on it
fi
exit "$status"
