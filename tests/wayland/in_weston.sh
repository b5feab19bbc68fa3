#!/usr/bin/env bash
# in_x_server.sh for Wayland: the program as a client of a headless weston whose
# fullscreen shell centres its one window on an output of the window's size, so a
# screenshot of the output is the window's picture (the desktop shell places at random).
#   in_weston.sh <program> [argument...]
set -euo pipefail
command=("$@")
set --
source "$(dirname "$0")/weston_session.sh" weston-screenshooter
start_weston --shell=fullscreen-shell.so --width=625 --height=520
QT_QPA_PLATFORM=wayland QT_WAYLAND_SHELL_INTEGRATION=fullscreen-shell-v1 QT_QPA_FONTDIR=/usr/share/fonts/truetype/dejavu \
    "${command[@]}"
