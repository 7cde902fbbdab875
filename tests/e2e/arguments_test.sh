#!/bin/sh
# quillon answers a wrong argument before it looks for a display: with none at all, and Qt
# told to use X11 (which would abort the program), it says so and ends with status 2.
#   arguments_test.sh QUILLON
set -u
out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$1" --bogus 2>&1)
status=$?
[ "$status" -eq 2 ] || { echo "FAIL: status $status: $out" >&2; exit 1; }
case "$out" in
  *"unknown argument --bogus"*) echo "arguments: refused before any display" ;;
  *) echo "FAIL: $out" >&2; exit 1 ;;
esac
