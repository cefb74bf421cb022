#!/usr/bin/env bash
# The .desktop file and the AppStream entry pass the desktops' own checks,
# and the media types came from the shipped languages.
#   DesktopFiles.sh <.desktop file> <metainfo file>
set -euo pipefail
desktop=$1
metainfo=$2
desktop-file-validate "$desktop"
appstreamcli validate --no-net --pedantic "$metainfo"
mime=$(grep '^MimeType=' "$desktop")
for type in text/plain text/x-c++src text/x-csrc text/x-python text/x-makefile text/x-java text/css application/sql; do
  case ";${mime#MimeType=}" in
    *";$type;"*) ;;
    *) echo "MimeType lacks $type: $mime"; exit 1 ;;
  esac
done
case "$mime" in
  *image/* | *application/octet-stream*) echo "MimeType offers files that are no text: $mime"; exit 1 ;;
esac
grep -qx 'Exec=ferrolan %F' "$desktop"
grep -qx 'Name\[zh_CN\]=Ferrolan 多文档编辑器' "$desktop"
echo "desktop files: passed"
