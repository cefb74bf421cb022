#!/usr/bin/env bash
# Starts the real program again and again under a real window manager
# (openbox on Xvfb) and checks that each start puts the main window exactly
# where the previous one was closed: untouched, after a move and a resize,
# and maximized. The offscreen platform has no frame, so only this shows
# whether the stored outer rectangle comes back as the outer rectangle.
#
# usage: PlacementUnderWindowManager.sh path/to/ferrolan
set -euo pipefail

program=$(realpath "$1")
source "$(dirname "$0")/WindowManagerSession.sh"

settings="$XDG_CONFIG_HOME/Ferrolan/ScintillaMDI.ini"

# Twips of the stored outer rectangle, in pixels.
stored() {
  awk -F= -v key="$1" '$1 == key { print $2 / 15 }' "$settings"
}

# 1. First start: the design client area, centred on the screen.
start
first=$(settled_geometry)
read -r left top width height _ client _ <<<"$first"
expect_same "first start, client area" "690x479" "$client"
expect_same "first start, centred" "$(((1280 - width) / 2)) $(((800 - height) / 2))" "$left $top"
close_window
expect_same "stored outer rectangle" "$left $top $width $height" \
  "$(stored MDILeft) $(stored MDITop) $(stored MDIWidth) $(stored MDIHeight)"

# 2. and 3. Two more starts without touching the window.
for run in 2 3; do
  start
  expect_same "start $run" "$first" "$(settled_geometry)"
  [ "$run" = 3 ] || close_window
done

# 4. Moved and resized by the user.
xdotool windowmove --sync "$window" 100 80
xdotool windowsize --sync "$window" 600 400
moved=$(settled_geometry)
close_window
start
after_move=$(settled_geometry)
expect_same "start after a move and a resize" "$moved" "$after_move"
if [ "$after_move" != "$moved" ]; then
  # Diagnostics only: none of them may end the check early (set -e).
  echo "stored:"; grep -E '^MDI' "$settings" || true
  echo "size hints:"; xprop -id "$window" WM_NORMAL_HINTS || true
  echo "program log:"; cat "$sandbox/program.log" || true
fi

# 5. Maximized (a double click on the title bar), closed, started twice.
read -r left top width _ <<<"$moved"
xdotool mousemove $((left + width / 2)) $((top + 8)) click --repeat 2 --delay 100 1
for _ in $(seq 40); do xprop -id "$window" _NET_WM_STATE | grep -q MAXIMIZED_HORZ && break; sleep 0.1; done
maximized=$(settled_geometry)
expect_same "maximized" "maximized" "${maximized##* }"
close_window
read -r left top width height _ <<<"$moved"
expect_same "stored while maximized: the normal outer rectangle" "$left $top $width $height" \
  "$(stored MDILeft) $(stored MDITop) $(stored MDIWidth) $(stored MDIHeight)"
for run in 1 2; do
  start
  expect_same "maximized start $run" "$maximized" "$(settled_geometry)"
  close_window
done

finish "all placements held"
