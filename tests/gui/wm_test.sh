#!/usr/bin/env bash
# The editor as a user meets it: under an X server of its own (Xvfb) with a
# real window manager (openbox), driven from outside with xdotool and wmctrl.
# Checks that the frame window is never mapped, that minimize and activation
# put the main window away and back, that the rebuilt main window has the
# keyboard focus after "ステージの新規作成", and that a window-manager close
# answered No at the save question ends the editor with status 0. Leaves
# screenshots of the save-file dialog and of the save question in the work
# folder when ImageMagick's `import` is there.
#
# Usage: wm_test.sh EDITOR DATA_TOOL WORK_DIR
# Exits 77 (skipped) when the X server or the window manager cannot start.
set -u
EDITOR=$1
DATA_TOOL=$2
WORK=$3

skip() { echo "SKIPPED: $*"; exit 77; }
fail() {
    echo "FAILED: $*"
    [ -f "$WORK/editor.log" ] && { echo "--- editor output"; cat "$WORK/editor.log"; }
    exit 1
}

for tool in Xvfb openbox xdotool wmctrl xwininfo xprop; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (tools/deps.sh installs it)"
done

rm -rf "$WORK"
mkdir -p "$WORK"
XVFB_PID= WM_PID= EDITOR_PID=
cleanup() {
    for pid in $EDITOR_PID $WM_PID $XVFB_PID; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
}
trap cleanup EXIT

# Polls a condition (a shell command) every 0.1 s for at most $1 seconds.
wait_for() {
    local limit=$(( $1 * 10 )) i=0
    shift
    until "$@"; do
        i=$((i + 1))
        [ "$i" -ge "$limit" ] && return 1
        sleep 0.1
    done
    return 0
}

# --- the X server on a free display, then the window manager
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
wait_for 20 test -s "$WORK/display" || skip "Xvfb did not start: $(cat "$WORK/xvfb.log")"
export DISPLAY=":$(head -n1 "$WORK/display")"
openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
WM_PID=$!
wait_for 20 wmctrl -m >/dev/null 2>&1 || skip "openbox did not start: $(cat "$WORK/openbox.log")"

# --- the editor on the starter project (its sample stage open)
"$DATA_TOOL" new-project "$WORK/project" >/dev/null || fail "vantor-data new-project"
export QT_QPA_PLATFORM=xcb
unset QT_QPA_PLATFORMTHEME
LANG=C.UTF-8 "$EDITOR" "$WORK/project" >"$WORK/editor.log" 2>&1 &
EDITOR_PID=$!

# The editor's windows that are on screen (viewable), one id a line.
mapped() { xdotool search --onlyvisible --pid "$EDITOR_PID" 2>/dev/null | sort; }
# Every window of the editor, mapped or not.
all_windows() { xdotool search --pid "$EDITOR_PID" 2>/dev/null | sort; }
title_of() { xprop -id "$1" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }
count_mapped() { [ "$(mapped | wc -l)" -eq "$1" ]; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q "Map State: IsViewable"; }
not_viewable() { ! viewable "$1"; }
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
# Ended: gone, or a zombie waiting for this script to collect its status.
ended() { ! kill -0 "$EDITOR_PID" 2>/dev/null || ps -o stat= -p "$EDITOR_PID" | grep -q Z; }

# The frame is titled with the application name alone; the main window adds
# the stage path. None of the frame's windows may ever be on screen.
frame_never_mapped() {
    local w
    for w in $(all_windows); do
        if [ "$(title_of "$w")" = "ヴァントール" ] && viewable "$w"; then
            [ "$w" != "${MAIN:-}" ] && return 1
        fi
    done
    return 0
}
# The window on screen with that title.
titled() { local w; for w in $(mapped); do [ "$(title_of "$w")" = "$1" ] && { echo "$w"; return 0; }; done; return 1; }
# Waits for a window of that title to be on screen with the keyboard focus;
# its id goes into FOUND.
wait_focused() {
    wait_for 10 titled "$1" >/dev/null || return 1
    FOUND=$(titled "$1")
    wait_for 10 has_focus "$FOUND"
}
# The main window on screen (titled with the application name, then the
# stage's path once it has one), or nothing.
the_main_window() {
    local w
    for w in $(mapped); do
        case "$(title_of "$w")" in "ヴァントール"*) echo "$w"; return 0 ;; esac
    done
    return 1
}
on_screen() { for w in $(mapped); do printf '%s; ' "$(title_of "$w")"; done; }

# While a stage is open the main window has its mode's palette beside it: two
# windows on screen.
SHOWN=2
wait_for 60 count_mapped $SHOWN || fail "the main window and its palette did not appear (on screen: $(on_screen))"
MAIN=$(the_main_window) || fail "no main window on screen (on screen: $(on_screen))"
case "$(title_of "$MAIN")" in
    "ヴァントール  "*) ;;
    *) fail "the main window does not name the sample stage: '$(title_of "$MAIN")'" ;;
esac
titled "マップチップパレット" >/dev/null || fail "the chip palette is not on screen (on screen: $(on_screen))"
frame_never_mapped || fail "the frame window is on screen at start"

# With no place saved yet the main window opens centred on the screen.
read -r x y w h < <(xwininfo -id "$MAIN" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
    /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}')
read -r sw sh < <(xwininfo -root | awk '/Width:/{w=$NF} /Height:/{h=$NF} END{print w, h}')
cx=$(( x + w / 2 - sw / 2 )) cy=$(( y + h / 2 - sh / 2 ))
[ "${cx#-}" -le 40 ] && [ "${cy#-}" -le 40 ] ||
    fail "the main window ($w x $h at $x,$y) is not centred on the screen ($sw x $sh)"

# Moving and shrinking the main window brings nothing else up.
xdotool windowmove "$MAIN" 40 40
xdotool windowsize "$MAIN" 500 380
sleep 1
count_mapped $SHOWN || fail "another window appeared after the main window moved and shrank"
frame_never_mapped || fail "the frame window came up after the main window moved"

# --- minimize, then activate the application's entry again
wait_for 10 is_active "$MAIN" || xdotool windowactivate --sync "$MAIN"
xdotool windowminimize "$MAIN"
wait_for 10 not_viewable "$MAIN" || fail "minimize left the main window on screen"
sleep 0.5
not_viewable "$MAIN" || fail "the main window came straight back after minimize"
count_mapped 0 || fail "a window stayed on screen after minimize"
xdotool windowactivate "$MAIN"
wait_for 10 viewable "$MAIN" || fail "activating the application did not bring the main window back"
wait_for 10 is_active "$MAIN" || fail "the restored main window is not active"
wait_for 10 count_mapped $SHOWN || fail "restoring did not bring the palette back (on screen: $(on_screen))"
frame_never_mapped || fail "the frame window came up on restore"
grep -q "internal error" "$WORK/editor.log" && fail "the platform reported an internal error"

# --- New, several times: the rebuilt main window has the keyboard focus
# (answering Yes to "新規作成の確認" with the button's key).
for round in 1 2 3 4; do
    OLD=$MAIN
    wait_for 10 has_focus "$OLD" || fail "round $round: the main window lost the focus before New"
    xdotool key --clearmodifiers alt+f
    wait_for 5 count_mapped $((SHOWN + 1)) || sleep 0.5  # the menu, when it counts as the editor's
    xdotool key n
    wait_focused "新規作成の確認" || fail "round $round: no question before New"
    xdotool key y
    wait_for 10 not_viewable "$OLD" || fail "round $round: the main window was not rebuilt"
    wait_for 10 the_main_window >/dev/null || fail "round $round: no main window after New (on screen: $(on_screen))"
    MAIN=$(the_main_window)
    wait_for 10 count_mapped $SHOWN || fail "round $round: no palette beside the new main window (on screen: $(on_screen))"
    wait_for 5 has_focus "$MAIN" || fail "round $round: the rebuilt main window has no keyboard focus"
    frame_never_mapped || fail "round $round: the frame window came up"
done

# Ctrl+S reaches the rebuilt window: a never-saved stage asks for a file name.
xdotool key ctrl+s
wait_focused "保存先のファイルの選択" || fail "Ctrl+S after New did not ask for a file name"
DIALOG=$FOUND
if command -v import >/dev/null 2>&1; then
    sleep 0.5
    import -window root "$WORK/save_dialog.png" 2>/dev/null || echo "note: no screenshot"
fi
wmctrl -i -c "$DIALOG"
wait_for 10 count_mapped $SHOWN || fail "the file dialog did not close"

# --- an open menu closes on Escape, and the click after it reaches the map
# (the click below paints the map, which makes the close ask to save)
xdotool key --clearmodifiers alt+f
if wait_for 5 count_mapped $((SHOWN + 1)); then
    xdotool key Escape
    wait_for 5 count_mapped $SHOWN || fail "Escape left the menu open"
else
    echo "note: the menu did not show as a window of the editor; Escape on a menu not checked here"
fi

# --- quit through the window manager, answering No to the save question
geometry=$(xdotool getwindowgeometry "$MAIN" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
set -- $geometry
xdotool mousemove --window "$MAIN" $(( $1 / 2 )) $(( $2 / 2 )) click 1
sleep 0.3
wmctrl -i -c "$MAIN"
wait_focused "保存確認" ||
    fail "the window-manager close did not ask to save (on screen: $(for w in $(mapped); do title_of "$w"; done))"
if command -v import >/dev/null 2>&1; then
    import -window root "$WORK/save_question.png" 2>/dev/null || echo "note: no screenshot"
fi
xdotool key n
code=
if wait_for 20 ended; then
    wait "$EDITOR_PID"
    code=$?
    EDITOR_PID=
else
    [ -n "$(mapped)" ] && echo "windows still on screen: $(for w in $(mapped); do title_of "$w"; done)"
    fail "the editor did not end after No to the save question"
fi
[ "$code" -eq 0 ] || fail "the editor ended with status $code"
echo "PASSED"
