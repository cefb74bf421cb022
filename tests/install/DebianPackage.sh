#!/usr/bin/env bash
# `cpack -G DEB` makes a package of the installed files that names the
# libraries it needs and recommends the input method's Qt 6 plugin.
#   DebianPackage.sh <build folder>
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqscintilla2-qt6 libqt6widgets6 libqt6network6 libqt6printsupport6 libc6; do
  case "$depends" in
    *"$library"*) ;;
    *) echo "Depends lacks $library: $depends"; exit 1 ;;
  esac
done
[ "$(dpkg-deb -f "$deb" Package)" = ferrolan ]
dpkg-deb -f "$deb" Recommends | grep -q 'fcitx5-frontend-qt6'
contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/ferrolan ./usr/share/ferrolan/highlighters/CPP.CHL ./usr/share/ferrolan/highlighters/CPP.api \
  ./usr/share/ferrolan/highlighters/dark/CPP.colours \
  ./usr/share/applications/example.ferrolan.Ferrolan.desktop ./usr/share/metainfo/example.ferrolan.Ferrolan.metainfo.xml \
  ./usr/share/icons/hicolor/scalable/apps/example.ferrolan.Ferrolan.svg \
  ./usr/share/icons/hicolor/48x48/apps/example.ferrolan.Ferrolan.png; do
  grep -q " $file\$" <<<"$contents" || { echo "the package lacks $file"; exit 1; }
done
echo "Debian package: passed ($(basename "$deb"))"
