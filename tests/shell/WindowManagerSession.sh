# Sourced by the checks that run the real program under a real window
# manager (openbox on Xvfb): a display, settings and working folder of their
# own, starting the program, reading a window's outer geometry, closing it.
#
# Before sourcing: program=path/to/ferrolan. Afterwards the check is in
# "$sandbox", with DISPLAY and the XDG folders set.

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
export XDG_CONFIG_HOME="$sandbox/config" XDG_CACHE_HOME="$sandbox/cache" XDG_DATA_HOME="$sandbox/data"
export XDG_RUNTIME_DIR="$sandbox" QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_CONFIG_HOME"
cd "$sandbox"

openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.05; done

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

expect_same() { # what, expected, actual
  [ "$2" = "$3" ] || fail "$1: expected [$2], got [$3]"
  echo "$1: $3"
}

# Ends the check: 0 when every expectation held.
finish() { # what held
  if ((failures)); then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "$1"
}

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

# Starts the program and waits until its main window ("$window") is drawn.
start() {
  "$program" >"$sandbox/program.log" 2>&1 &
  program_pid=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --pid "$program_pid" --name 'Ferrolan' | head -n1) || true
  if [ -z "$window" ]; then
    echo "the main window did not appear; the program is $(ps -o stat= -p "$program_pid" || echo gone), its log:"
    cat "$sandbox/program.log"
    echo "windows on $DISPLAY:"
    xwininfo -root -tree | head -n 40
    exit 1
  fi
  # Until the program draws, its window shows the black root behind it.
  for _ in $(seq 300); do
    import -window "$window" -crop 1x1+4+4 -depth 8 txt:- 2>/dev/null | grep -q '#000000' || return 0
    sleep 0.1
  done
  echo "the main window was never drawn"
  exit 1
}

# Waits for the program to end and checks that it ended well: a sanitizer
# report makes its exit status non-zero.
ended() {
  timeout 30 tail --pid="$program_pid" -f /dev/null || return 1
  local status=0
  wait "$program_pid" || status=$?
  program_pid=""
  if ((status != 0)); then
    fail "the program ended with status $status"
    cat "$sandbox/program.log"
  fi
  return 0
}

# Alt+F4 reaches the window manager only for the focused window, and a busy
# machine may not have focused it yet: ask again until the program ends.
close_window() {
  for _ in 1 2 3 4; do
    xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4 2>/dev/null || true
    timeout 5 tail --pid="$program_pid" -f /dev/null && { ended; return 0; }
  done
  echo "the program did not end"
  exit 1
}
