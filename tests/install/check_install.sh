#!/usr/bin/env bash
# Installs the built program into a scratch root and checks that every file lands
# where desktops look for it, that the desktop entry and AppStream data validate, and
# where the installed program and a portable copy of it keep Settings.ini.
set -euo pipefail
build_dir=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR="$root" cmake --install "$build_dir" --prefix /usr >/dev/null

expect() {
    [[ -e "$root/$1" ]] || { echo "missing after install: /$1" >&2; exit 1; }
}
expect usr/games/fenu
expect usr/share/applications/org.example.fenu.desktop
expect usr/share/man/man6/fenu.6.gz
expect usr/share/doc/fenu/copyright
expect usr/share/doc/fenu/changelog.gz
expect usr/share/metainfo/org.example.fenu.metainfo.xml
expect usr/share/icons/hicolor/32x32/apps/org.example.fenu.png
expect usr/share/icons/hicolor/256x256/apps/org.example.fenu.png
# The sound and statistics modules, which the program loads relative to itself.
for name in sound statistics statistics_dialog; do expect usr/lib/games/fenu/libfenu_$name.so; done
[[ -x "$root/usr/games/fenu" ]] || { echo "fenu is not executable" >&2; exit 1; }
# The run files' type, known by name and by content.
update-mime-database "$root/usr/share/mime"
grep -q '^50:application/x-fenu-run:\*\.fenurun$' "$root/usr/share/mime/globs2" &&
    grep -qa 'application/x-fenu-run' "$root/usr/share/mime/magic" || { echo "no MIME type for run files" >&2; exit 1; }

desktop-file-validate "$root/usr/share/applications/org.example.fenu.desktop"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/org.example.fenu.metainfo.xml"
grep -q '^Categories=Game;ArcadeGame;$' "$root/usr/share/applications/org.example.fenu.desktop"
grep -q '^Exec=fenu %f$' "$root/usr/share/applications/org.example.fenu.desktop" &&
    grep -q '^MimeType=application/x-fenu-run;$' "$root/usr/share/applications/org.example.fenu.desktop" ||
    { echo "the desktop entry does not open run files" >&2; exit 1; }

fail() { cat "$root/output" 2>/dev/null; echo "$*" >&2; exit 1; }
# Starts the program headless and, once its first frame is shown, ends it with
# SIGTERM, the orderly way that saves the settings.
run_and_close() {
    local started="$root/started" pid status=0
    rm -f "$started"
    FENU_STARTUP_LOG=$started HOME="$root/home" XDG_CONFIG_HOME="$root/home/config" \
        QT_QPA_PLATFORM=offscreen "$1" >"$root/output" 2>&1 &
    pid=$!
    for _ in $(seq 100); do [[ -s "$started" ]] && break; sleep 0.1; done
    [[ -s "$started" ]] || fail "$1 showed no frame"
    kill -TERM "$pid"
    wait "$pid" || status=$?
    ((status == 0)) || fail "$1 ended with status $status after SIGTERM"
}
# Whoever runs it (the suite may run as root, who can write anywhere), the installed
# program keeps its settings in the user's folder and never beside itself.
run_and_close "$root/usr/games/fenu"
[[ ! -e "$root/usr/games/Settings.ini" ]] || fail "the installed program wrote Settings.ini beside itself"
grep -q '^CountBalls=1' "$root/home/config/feNU/Settings.ini" || fail "no Settings.ini in the user's folder"
# A portable copy, alone in a folder, keeps the file already standing beside it.
mkdir "$root/portable"
cp "$root/usr/games/fenu" "$root/portable/fenu"
printf '[Settings]\r\nMode=2\r\n' >"$root/portable/Settings.ini"
run_and_close "$root/portable/fenu"
grep -q '^CountBalls=1' "$root/portable/Settings.ini" && grep -q '^Mode=2' "$root/portable/Settings.ini" ||
    fail "the portable copy did not keep its Settings.ini: $(cat "$root/portable/Settings.ini")"
# The package as Debian's checker sees it.
if command -v lintian >/dev/null; then
    cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$root/package" >/dev/null
    lintian --fail-on error,warning "$root"/package/fenu_*.deb
fi
echo "install layout ok"
