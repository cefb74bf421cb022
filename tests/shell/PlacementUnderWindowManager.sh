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
for tool in Xvfb openbox xdotool xwininfo xprop import; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (scripts/setup installs it)"; exit 1; }
done

sandbox=$(mktemp -d)
pids=()
program_pid=""
cleanup() {
  for pid in $program_pid "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$sandbox"
}
trap cleanup EXIT

# A display of our own: Xvfb picks a free number and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 1280x800x24 -br -nolisten tcp 3>"$sandbox/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$sandbox/display" ] && break; sleep 0.05; done
[ -s "$sandbox/display" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -n1 "$sandbox/display")"
export XDG_CONFIG_HOME="$sandbox/config" XDG_CACHE_HOME="$sandbox/cache" XDG_DATA_HOME="$sandbox/data" XDG_STATE_HOME="$sandbox/state"
export XDG_RUNTIME_DIR="$sandbox" QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME"
cd "$sandbox"

openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.05; done

settings="$XDG_CONFIG_HOME/Ferrolan/ScintillaMDI.ini"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# "left top width height" of the outer rectangle, frame included, then the
# client size and the maximized flag.
geometry() {
  local info extents
  info=$(xwininfo -id "$window")
  extents=$(xprop -id "$window" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
  local x y w h l r t b
  x=$(awk '/Absolute upper-left X/{print $4}' <<<"$info")
  y=$(awk '/Absolute upper-left Y/{print $4}' <<<"$info")
  w=$(awk '/^ *Width:/{print $2}' <<<"$info")
  h=$(awk '/^ *Height:/{print $2}' <<<"$info")
  IFS=, read -r l r t b <<<"${extents:-0,0,0,0}"
  local maximized=normal
  xprop -id "$window" _NET_WM_STATE | grep -q MAXIMIZED_HORZ && maximized=maximized
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b)) client ${w}x${h} $maximized"
}

# Waits until two readings 150 ms apart agree. Call once the program has
# drawn its window: it places the window once more when the window manager
# has framed it, before it draws.
settled_geometry() {
  local last="" now
  for _ in $(seq 40); do
    now=$(geometry)
    [ "$now" = "$last" ] && { echo "$now"; return; }
    last=$now
    sleep 0.15
  done
  echo "$now"
}

start() {
  "$program" >"$sandbox/program.log" 2>&1 &
  program_pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$program_pid" --name 'Ferrolan' | head -n1)
  [ -n "$window" ] || { echo "the main window did not appear"; exit 1; }
  # Until the program draws, its window shows the black root behind it.
  for _ in $(seq 100); do
    import -window "$window" -crop 1x1+4+4 -depth 8 txt:- 2>/dev/null | grep -q '#000000' || return 0
    sleep 0.1
  done
  echo "the main window was never drawn"
  exit 1
}

# Alt+F4 reaches the window manager only for the focused window, and a busy
# machine may not have focused it yet: ask again until the program ends.
close_window() {
  for _ in 1 2 3 4; do
    xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4 2>/dev/null || true
    timeout 5 tail --pid="$program_pid" -f /dev/null && return 0
  done
  echo "the program did not end"
  exit 1
}

# Twips of the stored outer rectangle, in pixels.
stored() {
  awk -F= -v key="$1" '$1 == key { print $2 / 15 }' "$settings"
}

expect_same() { # what, expected, actual
  [ "$2" = "$3" ] || fail "$1: expected [$2], got [$3]"
  echo "$1: $3"
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
expect_same "start after a move and a resize" "$moved" "$(settled_geometry)"

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

if ((failures)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all placements held"
