#!/usr/bin/env bash
# Plays the settings program as a player would, with real X keyboard and mouse
# input on an X display, and checks the Config.dat it leaves beside itself.
# Usage: tests/playtest.sh PROGRAM.exe SCRATCH_DIR
# Needs DISPLAY, WINEPREFIX, WINELOADER, WINEDEBUG and WINEDLLOVERRIDES set.
# Works with or without a window manager; nothing else may cover the dialog
# or take the keyboard while it runs.
set -eEuo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 PROGRAM.exe SCRATCH_DIR" >&2
    exit 2
fi
PROGRAM=$(realpath "$1")
SCRATCH=$(mkdir -p "$2" && realpath "$2")
HERE=$(cd "$(dirname "$0")" && pwd)
: "${DISPLAY:?}" "${WINEPREFIX:?}" "${WINELOADER:?}"

START_TIMEOUT=30    # seconds until the dialog shows
EXIT_TIMEOUT=20     # seconds from the last input until the process ends
DLG_W=387           # the template's size in dialog units
DLG_H=281

SCENARIO=setup
HINT=
PID=
WIN=
fail() {
    echo "playtest: $SCENARIO: FAILED: $*" >&2
    [ -z "$HINT" ] || echo "playtest: $SCENARIO: $HINT" >&2
    if [ -n "$PID" ] && kill -0 "$PID" 2>/dev/null; then
        kill "$PID" 2>/dev/null || true
        wait "$PID" 2>/dev/null || true
    fi
    exit 1
}
trap 'fail "command failed at line $LINENO"' ERR

cc -std=c99 -O1 -o "$SCRATCH/xprobe" "$HERE/playtest/xprobe.c" -lX11 || fail "cannot build xprobe"
XPROBE=$SCRATCH/xprobe

# A record as the program writes it: magic, "Courier New", then the integers
# moveKeys jumpKeys okKey displayMode useGamepad and the 8 gamepad buttons.
write_record() {
    local file=$1; shift
    {
        printf 'VESKAROT20041206'; head -c 16 /dev/zero
        printf 'Courier New'; head -c 53 /dev/zero
        local v
        for v in "$@"; do printf "\\x$(printf %02x "$v")\\x00\\x00\\x00"; done
    } >"$file"
}
DEFAULT_RECORD=(0 0 0 0 1 2 1 5 6 3 4 6 3)

# Where a window is on the screen: sets X, Y, W, H.
geometry() {
    local info
    info=$(xwininfo -id "$1")
    X=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
    Y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
    W=$(awk '/  Width:/ {print $2}' <<<"$info")
    H=$(awk '/  Height:/ {print $2}' <<<"$info")
}

# A Config.dat the program loads but never writes this way: text behind the
# magic's terminator, settings off the defaults, an old time stamp.
write_foreign_config() {
    write_record "$1" 1 1 0 3 1 6 5 4 3 2 1 6 5
    printf 'LEFT ALONE' | dd of="$1" bs=1 seek=20 conv=notrunc status=none
    touch -d '2004-12-06 12:00:00' "$1"
}

# start NAME HINT [EXISTING_CONFIG]: the program in a fresh folder of its own,
# its dialog found, the pointer resting on an empty spot of the dialog.
# HINT tells on failure what the scenario expected.
start() {
    SCENARIO=$1 HINT=$2
    shift
    DIR=$SCRATCH/$1
    rm -rf "$DIR"
    mkdir -p "$DIR"
    cp "$PROGRAM" "$DIR/VeskarotSettings.exe"
    [ $# -lt 2 ] || cp -p "$2" "$DIR/Config.dat"
    (cd "$DIR" && exec "$WINELOADER" VeskarotSettings.exe >/dev/null 2>&1) &
    PID=$!
    WIN=$(timeout "$START_TIMEOUT" xdotool search --sync --onlyvisible --pid "$PID" \
          --name '^Veskarot Settings$' 2>/dev/null | head -n 1) || true
    [ -n "$WIN" ] || fail "no dialog window within $START_TIMEOUT s"
    # The X window is the client area. A window manager frames and places it
    # a moment after it shows; wait until the pointer can land on it.
    local i WINDOW
    for ((i = 0; i < 50; ++i)); do
        geometry "$WIN"
        ORG_X=$X ORG_Y=$Y CLIENT_W=$W CLIENT_H=$H
        TOP=$("$XPROBE" toplevel "$WIN")
        xdotool mousemove $(( ORG_X + CLIENT_W / 2 )) $(( ORG_Y + 10 ))
        sleep 0.1
        eval "$(xdotool getmouselocation --shell | grep '^WINDOW=')"
        [ "$WINDOW" = "$TOP" ] && break
    done
    [ "$CLIENT_W" -gt 400 ] && [ "$CLIENT_H" -gt 300 ] \
        || fail "dialog client area is ${CLIENT_W}x$CLIENT_H"
    # Between "Use Gamepad" and the keyboard picture; a click there activates
    # the dialog and moves no focus inside it.
    click 143 7
    aim keys
}

# Client pixels of a point given in dialog units.
px_x() { echo $(( ($1 * CLIENT_W + DLG_W / 2) / DLG_W )); }
px_y() { echo $(( ($1 * CLIENT_H + DLG_H / 2) / DLG_H )); }

# The pointer is over the dialog (with "keys": and the keyboard goes to it,
# given to it by a window manager, or following the pointer where none runs).
aim() {
    local WINDOW focus=1 i
    for ((i = 0; i < 30; ++i)); do
        eval "$(xdotool getmouselocation --shell | grep '^WINDOW=')"
        [ $# -eq 0 ] || focus=$("$XPROBE" focus)
        [ "$WINDOW" = "$TOP" ] && { [ "$focus" = "$WIN" ] || [ "$focus" = 1 ]; } && return 0
        sleep 0.1
    done
    kill -0 "$PID" 2>/dev/null || fail "the program ended before all input was given"
    [ "$WINDOW" = "$TOP" ] || fail "pointer is over window $WINDOW, not the dialog $TOP"
    fail "keyboard focus is on window $focus, not the dialog $WIN"
}

# click DUX DUY: a left click at a point in dialog units. (mousemove --sync
# would wait 15 s when the pointer is already there.)
click() {
    local x y i X Y
    x=$(( ORG_X + $(px_x "$1") )) y=$(( ORG_Y + $(px_y "$2") ))
    xdotool mousemove "$x" "$y"
    for ((i = 0; i < 50; ++i)); do
        eval "$(xdotool getmouselocation --shell | grep -E '^(X|Y)=')"
        [ "$X,$Y" = "$x,$y" ] && break
        sleep 0.02
    done
    aim
    xdotool click 1
    sleep 0.2
}

keys() {
    aim keys
    xdotool key --delay 40 "$@"
    sleep 0.2
}

# darkest DUX DUY DUW DUH: lowest luminance inside a control's rectangle.
darkest() {
    local x y
    x=$(px_x "$1") y=$(px_y "$2")
    "$XPROBE" darkest "$WIN" "$x" "$y" $(( $(px_x $(($1 + $3))) - x )) $(( $(px_y $(($2 + $4))) - y ))
}

# expect_radio_shade COLUMN ROW -lt|-gt LIMIT WHAT: the radio's darkest pixel,
# given a moment to be repainted. Checked and enabled shows a black dot (about 0);
# greyed or unchecked, nothing below about 170.
expect_radio_shade() {
    local shade i
    for ((i = 0; i < 20; ++i)); do
        shade=$(darkest "$(pad_x "$1")" "$(pad_y "$2")" 12 12)
        [ "$shade" "$3" "$4" ] && return 0
        sleep 0.1
    done
    fail "column $1 row $2: $5 (darkest pixel $shade)"
}

# The process must end by itself with exit code 1.
finish() {
    local i rc=0
    for ((i = 0; i < EXIT_TIMEOUT * 10; ++i)); do
        kill -0 "$PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$PID" 2>/dev/null && fail "still running $EXIT_TIMEOUT s after the last input"
    wait "$PID" || rc=$?
    PID=
    [ "$rc" = 1 ] || fail "exit code $rc, expected 1"
}

# expect_saved VALUES...: the folder holds the program and this record, nothing else.
expect_saved() {
    write_record "$SCRATCH/expected.dat" "$@"
    [ -f "$DIR/Config.dat" ] || fail "no Config.dat was written"
    if ! cmp -s "$DIR/Config.dat" "$SCRATCH/expected.dat"; then
        echo "expected:" >&2; xxd "$SCRATCH/expected.dat" >&2
        echo "actual:" >&2; xxd "$DIR/Config.dat" >&2
        echo "moveKeys jumpKeys okKey displayMode useGamepad, buttons 1-8:" >&2
        echo "expected:$(od -An -v -t d4 -j 96 "$SCRATCH/expected.dat" | tr -s ' \n' ' ')" >&2
        echo "actual:  $(od -An -v -t d4 -j 96 "$DIR/Config.dat" | tr -s ' \n' ' ')" >&2
        fail "Config.dat differs"
    fi
    expect_files "Config.dat VeskarotSettings.exe"
}

# expect_untouched [ORIGINAL]: no Config.dat, or the original one as it was.
expect_untouched() {
    if [ $# -eq 0 ]; then
        [ ! -e "$DIR/Config.dat" ] || { xxd "$DIR/Config.dat" >&2; fail "Config.dat was written"; }
        expect_files "VeskarotSettings.exe"
    else
        cmp -s "$DIR/Config.dat" "$1" || { xxd "$DIR/Config.dat" >&2; fail "Config.dat was changed"; }
        [ "$(stat -c %Y "$DIR/Config.dat")" = "$(stat -c %Y "$1")" ] || fail "Config.dat was rewritten"
        expect_files "Config.dat VeskarotSettings.exe"
    fi
}

expect_files() {
    local actual
    actual=$(cd "$DIR" && ls -A | sort | tr '\n' ' ')
    [ "$actual" = "$1 " ] || fail "folder holds: $actual; expected: $1"
}

passed() {
    echo "playtest: $SCENARIO: ok ($*)"
}

started=$(date +%s)
FOREIGN=$SCRATCH/foreign.dat
write_foreign_config "$FOREIGN"

# Dialog units of the controls that get clicked or looked at.
pad_x() { echo $(( 52 + 16 * ($1 - 1) )); }     # column 1..8
pad_y() { echo $(( 48 + 16 * $1 )); }           # row 0 Jump, 1 Attack, 2 Weapon +, 3 Weapon -, 4 Item, 5 Map

# Tab order, forward. The focus starts on "Use Gamepad"; each stop that can
# show it gets a key whose effect shows in Config.dat: Down moves a column or pair to its next
# radio, F4 then Esc opens and closes the font list (an Esc anywhere else
# would close the dialog), "6" picks "640x480 Windowed" in the display list.
# After the 18th Tab, back on "Use Gamepad", Space unchecks it; three
# Shift+Tabs through the notes and Cancel reach OK.
start tab-forward "expected Tab stops: Use Gamepad, the checked radio of columns 1-8, of the movement, jump and confirm pairs, font list, display list, Restore Defaults, OK, Cancel, notes"
for column in 1 2 3 4 5 6 7 8; do keys Tab Down; done
keys Tab Down  Tab Down  Tab Down       # movement, jump, confirm pairs
keys Tab F4 Escape                      # font list
keys Tab 6                              # display mode
keys Tab Tab Tab Tab                    # Restore Defaults, OK, Cancel, notes
keys Tab space                          # Use Gamepad
keys shift+Tab shift+Tab shift+Tab space
finish
# Down from the defaults Attack, Jump, Map, Weapon -, Weapon +, Item, Weapon -, Weapon +.
expect_saved 1 1 1 2 0  3 2 1 4 6 5 4 6
passed "Tab x18 visits the 17 stops and wraps; unchecked radios skipped"

# Tab order, backward, probing a few stops on the way.
start tab-backward "expected Shift+Tab stops: Use Gamepad, notes, Cancel, OK, Restore Defaults, display list, font list, confirm, jump and movement pairs, checked radio of columns 8-1"
keys shift+Tab shift+Tab shift+Tab shift+Tab     # notes, Cancel, OK, Restore Defaults
keys shift+Tab 9                                 # display mode: 960x720
keys shift+Tab F4 Escape                         # font list
keys shift+Tab Down                              # confirm pair
keys shift+Tab                                   # jump pair
keys shift+Tab Down                              # movement pair
keys shift+Tab Up                                # column 8: Weapon + -> Attack
keys shift+Tab                                   # column 7
keys shift+Tab Up                                # column 6: Item -> Weapon -
keys shift+Tab shift+Tab                         # columns 5, 4
keys shift+Tab Up                                # column 3: Map -> Item
keys shift+Tab                                   # column 2
keys shift+Tab Up                                # column 1: Attack -> Jump
keys shift+Tab space                             # Use Gamepad
keys shift+Tab shift+Tab shift+Tab space         # notes, Cancel, OK
finish
expect_saved 1 0 1 1 0  1 1 4 6 3 6 6 2
passed "Shift+Tab x21 visits the stops in reverse"

# Restore Defaults is the 14th stop and OK the 15th: changes made on the way are undone.
start restore-defaults "expected Restore Defaults as the 14th Tab stop to undo the changes, OK as the 15th"
keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Down   # movement pair
keys Tab Tab Tab Tab 6                          # display mode
keys Tab space                                  # Restore Defaults
keys Tab space                                  # OK
finish
expect_saved "${DEFAULT_RECORD[@]}"
passed "Restore Defaults by keyboard, then OK"

# Cancel is the 16th stop.
start cancel "expected Cancel as the 16th Tab stop, closing without writing" "$FOREIGN"
keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab
keys space
finish
expect_untouched "$FOREIGN"
passed "Tab x16 then Space: Cancel, Config.dat left as it was"

start enter "expected Enter to press OK"
keys Return
finish
expect_saved "${DEFAULT_RECORD[@]}"
passed "Enter saves the defaults"

# Esc and the close box meet an existing Config.dat, Alt+F4 none; none may be written.
start escape "expected Esc to close without writing" "$FOREIGN"
keys Escape
finish
expect_untouched "$FOREIGN"
passed "Esc closes without writing"

# Alt+F4: the window manager's close key, or without one Wine's system key;
# either ends in SC_CLOSE as the close box does.
start alt-f4 "expected Alt+F4 to close without writing"
keys alt+F4
finish
expect_untouched
passed "Alt+F4 closes without writing"

# The close box of the window manager's title bar, rightmost there as in
# openbox's default layout; it sends WM_DELETE_WINDOW, which Wine turns into
# SC_CLOSE. Without a window manager the message is sent directly.
start close-box "expected the close box to close without writing" "$FOREIGN"
if [ "$TOP" != "$WIN" ]; then
    geometry "$TOP"
    [ $(( ORG_Y - Y )) -ge 12 ] || fail "no title bar above the dialog"
    xdotool mousemove $(( X + W - 11 )) $(( (Y + ORG_Y) / 2 ))
    sleep 0.2
    aim
    xdotool click 1
    how="click on the title bar's close box"
else
    aim keys
    "$XPROBE" close "$WIN"
    how="WM_DELETE_WINDOW"
fi
finish
expect_untouched "$FOREIGN"
passed "$how closes without writing"

# Mouse: two grid radios, the alternative layout, then "Use Gamepad" off,
# which greys the grid; a click on a greyed radio changes nothing.
start mouse "expected each click to check its radio and clear only its own group, Use Gamepad to grey and disable the grid"
click $(( $(pad_x 2) + 4 )) $(( $(pad_y 4) + 5 ))     # column 2, Item
click $(( $(pad_x 8) + 4 )) $(( $(pad_y 5) + 5 ))     # column 8, Map
click 230 120                                           # "< and ? = movement, > = search"
checked_radios=("1 1" "2 4" "3 5" "4 3" "5 2" "6 4" "7 3" "8 5")
for cr in "${checked_radios[@]}"; do
    expect_radio_shade $cr -lt 64 "no black dot on the checked radio"
done
expect_radio_shade 2 0 -gt 100 "column 2 row Jump still checked"
click 40 22                                             # "Use Gamepad"
for cr in "${checked_radios[@]}"; do
    expect_radio_shade $cr -gt 100 "not greyed with the gamepad off"
done
click $(( $(pad_x 1) + 4 )) $(( $(pad_y 5) + 5 ))     # column 1, Map: greyed
click 338 239                                           # OK
finish
expect_saved 1 0 0 0 0  2 4 5 6 3 4 6 5
passed "clicks on radios, layout, Use Gamepad and OK"

echo "playtest: all 9 scenarios passed in $(( $(date +%s) - started )) s"
