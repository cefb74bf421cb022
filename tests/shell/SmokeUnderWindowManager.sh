#!/usr/bin/env bash
# A user's first minutes with the real program under a real window manager
# (openbox on Xvfb), where frames, focus and key routing are real: open a
# file by typing its path into the open dialog, type, save, type again,
# close and answer the prompt with Enter (save), start again. The window
# must come back where it was and the file must hold exactly what was typed.
#
# usage: SmokeUnderWindowManager.sh path/to/ferrolan
set -euo pipefail

program=$(realpath "$1")
source "$(dirname "$0")/WindowManagerSession.sh"

# The window a title names, once it shows.
window_named() {
  timeout 30 xdotool search --sync --onlyvisible --pid "$program_pid" --name "$1" | head -n1 || true
}

# Keys go to whichever window has the focus, as a user's would.
press() { xdotool key --clearmodifiers --delay 80 "$@"; }
type_text() { xdotool type --clearmodifiers --delay 60 "$1"; sleep 0.5; }
hex() { od -An -tx1 | tr -d ' \n'; }

document="$sandbox/notes.txt"
printf 'first line\nsecond line\n' >"$document"

start
before=$(settled_geometry)

# Open through the dialog: its file name box has the focus.
xdotool windowactivate --sync "$window"
press ctrl+o
dialog=$(window_named '打开文件')
[ -n "$dialog" ] || { fail "the open dialog did not appear"; finish ""; }
type_text "$document"
press Return
[ -n "$(window_named 'notes.txt')" ] || { fail "the document window did not appear"; cat "$sandbox/program.log"; finish ""; }
sleep 0.5

# The caret starts at the top of the loaded text.
type_text "typed "
press ctrl+s
for _ in $(seq 50); do cmp -s "$document" <(printf 'typed first line\nsecond line\n') && break; sleep 0.1; done
expect_same "after Ctrl+S" "$(printf 'typed first line\nsecond line\n' | hex)" "$(hex <"$document")"

type_text "again "
xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
prompt=$(window_named '已修改')
[ -n "$prompt" ] || { fail "closing a modified document did not ask"; finish ""; }
press Return # 是: the default answer saves
ended || { fail "the program did not end after the prompt"; finish ""; }
saved=$(printf 'typed again first line\nsecond line\n' | hex)
expect_same "saved by the close prompt" "$saved" "$(hex <"$document")"

# Another start: the same place and size, the file untouched by starting.
start
expect_same "geometry after a restart" "$before" "$(settled_geometry)"
close_window
expect_same "file after a restart" "$saved" "$(hex <"$document")"

finish "the smoke test held"
