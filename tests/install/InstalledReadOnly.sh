#!/usr/bin/env bash
# Installs the build into a staging folder (DESTDIR) and runs it from there
# as an ordinary user, with every installed file read-only: the program
# starts with a file, a second start hands its file over, a colour changed
# in 语法设置 lands in the user's own folder and is still there after a
# restart, and not one installed file has changed.
#   InstalledReadOnly.sh <build folder> <installed-program test>
set -euo pipefail
build=$1
tester=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"
stage=$work/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null
cp "$tester" "$stage/usr/bin/"
bin=$stage/usr/bin

home=$work/home
mkdir -p "$home/run"
chmod 700 "$home/run"
printf 'int main()\n{\n    return 0;\n}\n' >"$home/hello.cpp"
chown -R 65534:65534 "$home"
fingerprint() { (cd "$stage" && find . -type f -exec sha256sum {} + | sort); }
fingerprint >"$work/before"
chmod -R a-w "$stage"

user=(setpriv --reuid=65534 --regid=65534 --clear-groups
  env -i HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
  XDG_RUNTIME_DIR="$home/run" XDG_CACHE_HOME="$home/.cache" QT_QPA_PLATFORM=offscreen
  PATH=/usr/bin:/bin LANG=C.UTF-8)
as_user() { "${user[@]}" "$@"; }

version=$(as_user "$bin/ferrolan" --version)
[ "$version" = "Ferrolan 1.0" ] || { echo "--version said: $version"; exit 1; }

# The installed program itself, with a file; a second start gives it another.
# The subshell becomes the program, so that $first is the program's own id.
(exec "${user[@]}" "$bin/ferrolan" "$home/hello.cpp") &
first=$!
trap 'kill "$first" 2>/dev/null || true; chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 200); do
  compgen -G "$home/run/ferrolan-65534-*.socket" >/dev/null && break
  sleep 0.05
done
compgen -G "$home/run/ferrolan-65534-*.socket" >/dev/null || { echo "the program never listened"; exit 1; }
if ! timeout 30 "${user[@]}" "$bin/ferrolan" "$home/second.txt"; then
  echo "the second start did not hand its file over"
  exit 1
fi
kill -0 "$first" || { echo "the first program ended"; exit 1; }
kill "$first"
wait "$first" || true

as_user "$bin/$(basename "$tester")" --gtest_filter=InstalledProgram.ChangesAColourInTheUsersCopy
as_user "$bin/$(basename "$tester")" --gtest_filter=InstalledProgram.KeepsTheChangeAfterARestart

chmod -R u+w "$stage"
if ! diff "$work/before" <(fingerprint); then
  echo "installed files changed"
  exit 1
fi
[ -f "$home/.local/share/Ferrolan/highlighters/CPP.CHL" ] || { echo "no user copy"; exit 1; }
echo "installed, read-only, as an ordinary user: passed"
