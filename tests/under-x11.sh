#!/usr/bin/env bash
# Runs a test program on a real X server with a window manager (Xvfb and openbox), where window
# stacking and activation are decided as on a desktop. Exits 77 (skipped) where they are not installed.
set -u
command -v xvfb-run > /dev/null && command -v openbox > /dev/null || {
    echo "xvfb-run or openbox is not installed: skipped"
    exit 77
}
exec xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    openbox > /dev/null 2>&1 &
    sleep 1
    QT_QPA_PLATFORM=xcb "$@"
    status=$?
    kill %1 2> /dev/null
    exit $status' x11-test "$@"
