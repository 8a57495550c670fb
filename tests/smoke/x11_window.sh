# Shell functions that both smoke tests source: what X says of the program's window, and a
# grab of the screen. The caller defines fail() and a scratch folder $work.

# The window's client area must be 537 x 327 and its title "RCF/RPM Conversion". Sets X and
# Y (the client area's top-left corner on the screen), WIDTH and HEIGHT.
check_client_area_and_title() { # window
    local info title
    info=$(xwininfo -id "$1")
    field() { sed -n "s/^ *$1: *\(-\?[0-9]*\).*/\1/p" <<<"$info"; }
    X=$(field 'Absolute upper-left X') Y=$(field 'Absolute upper-left Y')
    WIDTH=$(field Width) HEIGHT=$(field Height)
    [[ $WIDTH == 537 && $HEIGHT == 327 ]] || fail "client area ${WIDTH}x${HEIGHT}, expected 537x327"
    echo "ok: client area 537x327"
    title=$(xprop -id "$1" _NET_WM_NAME | sed -n 's/.*= "\(.*\)"$/\1/p')
    [[ $title == "RCF/RPM Conversion" ]] || fail "title '$title'"
    echo "ok: title '$title'"
}

grab() { xwd -silent -root | xwdtopnm 2>/dev/null | pamdepth 255 > "$work/screen.pnm"; }
