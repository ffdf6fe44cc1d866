#!/usr/bin/env bash
# Starts Velmora on a real X display (Xvfb) under a window manager (openbox), as a user
# meets it: a start-up error box, the sample files loaded with a click, a search, the
# results window and "Back". Keeps screenshots of both windows and of the error box, and
# closes the program. Fails when a window never appears, a title is not exactly the
# program's own, a window is not where the one before it was, the samples do not reach
# the list, or the program ends with an error.
#
#   tests/smoke/smoke.sh PROGRAM OUTPUT-FOLDER
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
program="$1"
output="$2"

if [ -z "${VELMORA_SMOKE_DISPLAY:-}" ]; then
    mkdir -p "$output"
    # 96 dots per inch: the window is laid out in twips, 15 to a pixel at that density.
    exec env VELMORA_SMOKE_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
        "${BASH_SOURCE[0]}" "$@"
fi

fail() {
    echo "smoke test: $*" >&2
    [ -s "$output/velmora.log" ] && sed 's/^/  velmora: /' "$output/velmora.log" >&2
    exit 1
}

# shellcheck source=desktop.sh
source "$here/desktop.sh"
use_private_home
unset QT_QPA_PLATFORM

# A window manager places, frames and titles the windows as a desktop does.
for tool in openbox xprop xwininfo xdotool import; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/dev.sh installs it for test --all)"
done
start_window_manager "$output/openbox.log" || fail "the window manager did not start"

# The top-left corner of a window's client area, in screen pixels: "X Y".
corner() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        END { print x, y }'
}

# Clicks the middle of a control given in twips, at whatever density the window has.
click_twips() {
    local window="$1" left="$2" top="$3" width="$4" height="$5" WIDTH HEIGHT X Y SCREEN
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove --window "$window" $(((left + width / 2) * WIDTH / 8040)) \
        $(((top + height / 2) * WIDTH / 8040)) click 1
}

# A stored option that is not a number: start-up reports it in the "Application Error" box
# and goes on with the design value.
mkdir -p "$XDG_CONFIG_HOME"
printf '[Velmora]\nCheck1=not-a-number\n' >"$XDG_CONFIG_HOME/Tarnwick.conf"

"$program" >"$output/velmora.log" 2>&1 &
pid=$!

box="$(await_window '^Application Error')"
[ -n "$box" ] || fail "no \"Application Error\" box for the stored option that is not a number"
title="$(xprop -id "$box" _NET_WM_NAME)"
[ "$title" = '_NET_WM_NAME(UTF8_STRING) = "Application Error"' ] ||
    fail "the error box's title is not exactly \"Application Error\": $title"
sleep 0.5
import -window "$box" "$output/error.png"
xdotool windowactivate --sync "$box" key Return

window="$(await_window '^Velmora$')"
[ -n "$window" ] || fail "no window titled \"Velmora\" appeared"
kill -0 "$pid" 2>/dev/null || fail "the program ended right after opening its window"
sleep 1
title="$(xprop -id "$window" _NET_WM_NAME)"
[ "$title" = '_NET_WM_NAME(UTF8_STRING) = "Velmora"' ] ||
    fail "the main window's title is not exactly \"Velmora\": $title"
eval "$(xdotool getwindowgeometry --shell "$window")"
read -r main_x main_y <<<"$(corner "$window")"
# Opened in the middle of the screen (1024 by 768), give or take its frame.
middle_x=$((main_x + WIDTH / 2 - 512))
middle_y=$((main_y + HEIGHT / 2 - 384))
[ "${middle_x#-}" -le 40 ] && [ "${middle_y#-}" -le 40 ] ||
    fail "the main window is not in the middle of the screen (client area at $main_x,$main_y)"

list_width=$((7800 * WIDTH / 8040))
list_height=$((2325 * WIDTH / 8040))
list_offset=$((120 * WIDTH / 8040))
list_area="${list_width}x${list_height}+${list_offset}+${list_offset}"

import -window "$window" "$output/before.png"
click_twips "$window" 4080 3050 3840 405 # "Load Sample/Example Files"

# The question whether to open the samples' folder: answer No with Escape.
question="$(await_window '^Velmora$' "$window")"
[ -n "$question" ] || fail "the sample files' question never appeared"
xdotool windowactivate --sync "$question" key Escape
for _ in $(seq 1 50); do
    xdotool search --onlyvisible --name '^Velmora$' | grep -qvx "$window" || break
    sleep 0.2
done
sleep 0.5

import -window "$window" "$output/velmora.png"
echo "smoke test: screenshot of the main window in $output/velmora.png"

convert "$output/before.png" -crop "$list_area" +repage "$home/list-before.png"
convert "$output/velmora.png" -crop "$list_area" +repage "$home/list-after.png"
changed="$(compare -metric AE "$home/list-before.png" "$home/list-after.png" null: 2>&1 || true)"
[ "${changed%% *}" -gt 1000 ] 2>/dev/null ||
    fail "the file list looks the same after loading the samples ($changed pixels changed)"

# "Start Finding": the results window takes the main window's place.
read -r main_x main_y <<<"$(corner "$window")"
click_twips "$window" 120 5820 7800 405
results="$(await_window '^Velmora$' "$window")"
[ -n "$results" ] || fail "the results window never appeared"
sleep 1
read -r results_x results_y <<<"$(corner "$results")"
[ "$results_x $results_y" = "$main_x $main_y" ] ||
    fail "the results window opened at $results_x,$results_y, not at the main window's $main_x,$main_y"
import -window "$results" "$output/results.png"
echo "smoke test: screenshot of the results window in $output/results.png"

# The user moves the results window; "Back" brings the main window to where it now is.
xdotool windowmove --sync "$results" 40 30 || true
sleep 0.5
read -r results_x results_y <<<"$(corner "$results")"
click_twips "$results" 120 4130 3840 405 # "Back"
for _ in $(seq 1 50); do
    xdotool search --onlyvisible --name '^Velmora$' | grep -qx "$window" && break
    sleep 0.2
done
sleep 1
read -r main_x main_y <<<"$(corner "$window")"
[ "$main_x $main_y" = "$results_x $results_y" ] ||
    fail "after \"Back\" the main window is at $main_x,$main_y, not at the results window's $results_x,$results_y"

python3 "$here/close_window.py" "$window"
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end when its window was closed"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "smoke test: passed"
