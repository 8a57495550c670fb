# Shell functions that both smoke tests source: what X says of the program's window, a
# grab of the screen, and what the grab shows. The caller defines fail() and a scratch
# folder $work.

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

# On the last grab: pixels of a box that meet an awk condition on r, g and b.
count() { # left top width height condition
    pamcut -left "$1" -top "$2" -width "$3" -height "$4" "$work/screen.pnm" | pnmnoraw | tail -n +4 | xargs -n 3 \
        | awk "$5 { n++ } END { print n + 0 }"
}
# What the client area at X, Y shows: the radius text selected; digits in the answer box.
selected() { (($(count $((X + 26)) $((Y + 36)) 53 17 '$3 > $1 + 60') > 20)); } # highlight behind the "6"
answered() { (($(count $((X + 26)) $((Y + 196)) 53 17 '$1 + $2 + $3 < 300') > 10)); } # digits in the box
