#!/usr/bin/env bash
# The pointer held in the field by the X server itself, tried the way a player tries
# to escape it: jumps far out of the window, read back in the same instant, must
# already be inside the field during a game; free after P, and behind a menu or dialog
# opened during a game, which pauses it; on one point through the fade; free once the
# game is killed. On a bare X server and, where jwm is installed, under a window manager.
#   pointer_hold.sh <path of fenu>
set -euo pipefail
fenu=$1

source "$(dirname "$0")/x_session.sh" xwininfo xmessage

# "x y" of the pointer right after the motion, asked in the same invocation.
jump() { xdotool mousemove "$1" "$2" getmouselocation | sed -E 's/^x:([0-9]+) y:([0-9]+).*/\1 \2/'; }
nudge() { xdotool mousemove_relative -- "$1" "$2" getmouselocation | sed -E 's/^x:([0-9]+) y:([0-9]+).*/\1 \2/'; }

# The field: the 625 x 500 pixels at the bottom of the main window, under the menu bar.
# (xwininfo: xdotool counts a window manager's frame twice.)
read_field() {
    local info x y height
    info=$(xwininfo -id "$(xdotool search --name '^feNU' | head -n1)")
    x=$(awk '/Absolute upper-left X/ { print $NF }' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ { print $NF }' <<<"$info")
    height=$(awk '/Height:/ { print $NF }' <<<"$info")
    left=$x top=$((y + height - 500)) mid_x=$((x + 312)) mid_y=$((y + height - 250))
}
in_field() { ((left <= $1 && $1 < left + 625 && top <= $2 && $2 < top + 500)); }

# Mode 7 (any beyond the presets is the custom difficulty): one small, slow alien ball
# and a slow player, so the game runs until the player's ball catches a resting pointer;
# custom games keep no records, so no prompt.
# A second argument (the alien ball's radius and speed) makes a game that soon ends.
start_game() {
    start_fenu "[Settings]\r\nMode=7\r\nCountBalls=1\r\nRadius1=${1:-3}\r\nRadius2=20\r\nMaxStartSpeed=${2:-1}\r\nPlaySounds=0\r\nBonus Points=0\r\n"
    sleep 0.5
    read_field
    xdotool mousemove "$mid_x" "$mid_y" key F2
    wait_for 5 xdotool search --name 'Punkte' || fail "F2 did not start a game"
}

kill_game() { kill -KILL "$fenu_pid" && { wait "$fenu_pid" 2>/dev/null || true; }; }

# Chooses the n-th item below "Neu starten" in "Spiel", opened from the keyboard.
menu_item() {
    xdotool key alt sleep 0.2 key Down sleep 0.3 $(for _ in $(seq "$1"); do echo key Down sleep 0.1; done) key Return
    sleep 0.3
}

# The caption stands still (it blinks in a game's first two seconds, then counts).
caption() { xdotool getwindowname "$(xdotool search --name '^feNU' | head -n1)"; }
caption_stands() {
    local before=$(caption) _
    for _ in 1 2 3 4 5 6 7 8; do sleep 0.15 && [[ $before == "$(caption)" ]] || return 1; done
}

escapes() {
    local count=0 x y
    for target in "0 0" "512 0" "1023 0" "1023 384" "1023 767" "512 767" "0 767" "0 384" \
        "100 5" "900 5" "1020 100" "1020 700" "900 760" "100 760" "3 700" "3 100"; do
        read -r x y <<<"$(jump $target)"
        in_field "$x" "$y" || count=$((count + 1))
    done
    echo "$count"
}
expect_free() { [[ $(jump 1000 700) == "1000 700" ]] || fail "the pointer is not free $1"; }
# A key the game takes a moment later on a loaded machine (the sanitizers' build).
held_again() { local x y && read -r x y <<<"$(jump 1000 700)" && in_field "$x" "$y"; }
expect_held() {
    local n
    n=$(escapes)
    ((n == 0)) || fail "$n of 16 jumps left the field $1"
}

scenario() {
    label=$1
    start_game
    # Within the first two seconds nothing ends a game: the menu first. "Spiel" opened
    # from the keyboard pauses the game; P resumes it once the menu is closed.
    xdotool key alt sleep 0.2 key Down sleep 0.3
    expect_free "while a menu is open during a game"
    xdotool key Escape sleep 0.1 key Escape sleep 0.3
    expect_free "after a menu, before P"
    xdotool mousemove "$mid_x" "$mid_y" key p
    sleep 0.3
    expect_held "once resumed after a menu"
    xdotool key p
    sleep 0.3
    expect_free "after P"
    xdotool mousemove "$mid_x" "$mid_y" key p
    sleep 0.3

    # Another program has the keyboard (the game stands still meanwhile): the rest
    # of the desktop is usable.
    xdotool windowfocus "$other_window"
    sleep 0.3
    expect_free "while another program is active"
    xdotool windowfocus "$(xdotool search --name '^feNU' | head -n1)"
    sleep 0.3
    expect_held "once the game was active again"

    # A resting pointer is caught; from then on through the fade it cannot move.
    xdotool mousemove "$mid_x" "$mid_y"
    local tries=300 a b
    while ((tries-- > 0)); do
        a=$(nudge 3 3)
        b=$(nudge -3 -3)
        [[ "$a" == "$b" ]] && break
        sleep 0.05
    done
    ((tries > 0)) || fail "the game did not end with a resting pointer"
    [[ $(jump 1000 700) == "$b" ]] || fail "the pointer moved during the fade"
    wait_for 5 sh -c "[ \"\$(xdotool mousemove 1000 700 getmouselocation | cut -d' ' -f1-2)\" = 'x:1000 y:700' ]" ||
        fail "the pointer is not free after the fade"

    # "Pause" and "Abbrechen" chosen in the keyboard's menu let the pointer go.
    read_field
    xdotool mousemove "$mid_x" "$mid_y" key F2
    sleep 0.3
    menu_item 1
    expect_free "after \"Pause\" in the menu"
    xdotool mousemove "$mid_x" "$mid_y" key p
    sleep 0.3
    expect_held "once resumed"
    menu_item 2
    expect_free "after \"Abbrechen\" in the menu"

    # A killed game leaves no hold behind: the X server drops it with the connection.
    xdotool mousemove "$mid_x" "$mid_y" key F2
    sleep 0.5
    expect_held "in the second game"
    kill_game
    expect_free "after SIGKILL"

    # Every dialog opened during a game pauses it: the score stands behind it, the
    # pointer is free to reach it, and P resumes the game once it is closed.
    start_game
    local title close keys
    # title, the key that closes it, the keys that choose it from the menu bar
    while IFS=: read -r title close keys; do
        # A new game each time, the dialog opened within its first two seconds, where
        # nothing ends it and its caption blinks
        xdotool mousemove $((left + 30)) $((top + 30)) key F2 sleep 0.5
        # shellcheck disable=SC2046
        xdotool key alt sleep 0.2 $(printf 'key %s sleep 0.15 ' $keys) key Return
        wait_for 5 has_keyboard "^$title$" || fail "the menu did not open \"$title\""
        expect_free "behind \"$title\""
        caption_stands || fail "the game ran on behind \"$title\""
        xdotool key "$close"
        wait_for 5 has_keyboard '^feNU' || fail "$close did not close \"$title\""
        # (Qt takes keys as the window's own a moment after the X focus comes back.)
        xdotool sleep 0.5 key p
        wait_for 5 held_again || fail "P did not resume the game after \"$title\""
        expect_held "once resumed after \"$title\""
    done <<'EOF'
Rekorde:Return:Down Down Down Down
Statistik:Escape:Down Down Down Down Down
Info über feNU:Escape:Right Right Down
Benutzerdefinierte Einstellungen:Escape:Right Down Down Down Down
EOF
    # The last game plays again (its run names the custom difficulty as 3), and the
    # Mode is written back as it stood.
    xdotool key F3
    wait_for 5 caption_matches 'Letztes Spiel' || fail "F3 did not play the last game again"
    end_by_sigterm "$fenu_pid"
    tr -d '\r' <"$scratch/game/Settings.ini" | grep -qx 'Mode=7' || fail "Mode=7 not kept: $(cat "$scratch/game/Settings.ini")"
    echo "$label: passed"
}

xmessage -geometry +0+0 "another program" 2>/dev/null &
started $!
wait_for 5 xdotool search --name '^xmessage$' || fail "xmessage did not start"
other_window=$(xdotool search --name '^xmessage$' | head -n1)

scenario "bare X server"

# A box the program raises on its own as a game starts (its statistics file is no
# database, and is put aside) pauses the game as a dialog does.
label="a box at a game's start"
mkdir -p "$scratch/game" && rm -f "$scratch/game/Statistik.sqlite"* && head -c 8192 /dev/urandom >"$scratch/game/Statistik.sqlite"
start_fenu "[Settings]\r\nMode=7\r\nCountBalls=1\r\nRadius1=3\r\nRadius2=20\r\nMaxStartSpeed=1\r\n"
main_window=$(xdotool search --name '^feNU' | head -n1)
read_field && xdotool sleep 0.5 mousemove "$mid_x" "$mid_y" key F2
wait_for 5 box_shown || fail "no box for a statistics file that is no database"
expect_free "behind the box"
caption_stands || fail "the game ran on behind the box"
wait_for 5 box_has_keyboard && xdotool key Return
wait_for 5 has_keyboard '^feNU' && xdotool mousemove "$mid_x" "$mid_y" sleep 0.5 key p
wait_for 5 held_again || fail "P did not resume the game after the box"
expect_held "once resumed after the box"
kill_game

if command -v jwm >/dev/null; then
    HOME="$scratch" jwm >/dev/null 2>&1 &
    started $!
    sleep 0.5
    scenario "jwm"
fi
