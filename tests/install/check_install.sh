#!/usr/bin/env bash
# Installs the built program into a scratch root and checks that every file lands
# where desktops look for it, and that the desktop entry and AppStream data validate.
set -euo pipefail
build_dir=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR="$root" cmake --install "$build_dir" --prefix /usr >/dev/null

expect() {
    [[ -e "$root/$1" ]] || { echo "missing after install: /$1" >&2; exit 1; }
}
expect usr/bin/fenu
expect usr/share/applications/org.example.fenu.desktop
expect usr/share/metainfo/org.example.fenu.metainfo.xml
expect usr/share/icons/hicolor/32x32/apps/org.example.fenu.png
expect usr/share/icons/hicolor/256x256/apps/org.example.fenu.png
# The sound module, which the program loads from <libdir>/fenu next to its bin.
modules=("$root"/usr/lib*/fenu/libfenu_sound.so "$root"/usr/lib/*/fenu/libfenu_sound.so)
found=0
for module in "${modules[@]}"; do [[ -e "$module" ]] && found=1; done
(( found )) || { echo "missing after install: the sound module libfenu_sound.so" >&2; exit 1; }
[[ -x "$root/usr/bin/fenu" ]] || { echo "fenu is not executable" >&2; exit 1; }

desktop-file-validate "$root/usr/share/applications/org.example.fenu.desktop"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/org.example.fenu.metainfo.xml"
grep -q '^Categories=Game;ArcadeGame;$' "$root/usr/share/applications/org.example.fenu.desktop"
echo "install layout ok"
