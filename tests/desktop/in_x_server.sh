#!/usr/bin/env bash
# Runs a test program on an X server of its own (Qt's xcb platform), so that what it
# checks goes through the X server itself: the X11 counterparts of offscreen tests.
#   in_x_server.sh <program> [argument...]
set -euo pipefail
command=("$@")
set --
source "$(dirname "$0")/x_session.sh"
QT_QPA_PLATFORM=xcb QT_QPA_FONTDIR=/usr/share/fonts/truetype/dejavu "${command[@]}"
