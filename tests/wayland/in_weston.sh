#!/usr/bin/env bash
# Runs a test program as a native Wayland client of a headless weston of its own:
# the Wayland counterpart of desktop/in_x_server.sh. Weston's fullscreen shell shows
# the window alone, centred on an output of its size, so that a screenshot of the
# output (weston-screenshooter) is the window's picture every time; the desktop shell
# places windows at random, and the kiosk shell shows none without a seat.
#   in_weston.sh <program> [argument...]
set -euo pipefail
command=("$@")
set --
source "$(dirname "$0")/weston_session.sh" weston-screenshooter
start_weston --shell=fullscreen-shell.so --width=625 --height=520
QT_QPA_PLATFORM=wayland QT_WAYLAND_SHELL_INTEGRATION=fullscreen-shell-v1 QT_QPA_FONTDIR=/usr/share/fonts/truetype/dejavu \
    "${command[@]}"
