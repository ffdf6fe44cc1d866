#!/usr/bin/env bash
# Starts Velmora on a real X display (Xvfb), loads the sample files the way a user does,
# keeps a screenshot, and closes the window. Fails when the window never appears, the
# samples do not reach the list, or the program ends with an error.
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

# A home of its own: no stored options, nothing written to the developer's settings or trash.
home="$(mktemp -d)"
pid=""
trap 'if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi; rm -rf "$home"' EXIT
mkdir -m 700 "$home/runtime"
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/runtime"
unset QT_QPA_PLATFORM

"$program" >"$output/velmora.log" 2>&1 &
pid=$!

window="$(timeout 30 xdotool search --sync --onlyvisible --name '^Velmora$' | head -n 1)" ||
    fail "no window titled \"Velmora\" appeared within 30 seconds"
kill -0 "$pid" 2>/dev/null || fail "the program ended right after opening its window"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"

# "Load Sample/Example Files" sits at 4080,3050 twips, 3840 by 405, in a client area
# 8040 twips wide: aim for its middle at whatever density the window was laid out.
click_x=$(((4080 + 3840 / 2) * WIDTH / 8040))
click_y=$(((3050 + 405 / 2) * WIDTH / 8040))
list_width=$((7800 * WIDTH / 8040))
list_height=$((2325 * WIDTH / 8040))
list_offset=$((120 * WIDTH / 8040))
list_area="${list_width}x${list_height}+${list_offset}+${list_offset}"

import -window "$window" "$output/before.png"
xdotool mousemove --window "$window" "$click_x" "$click_y" click 1

# The question whether to open the samples' folder: answer No with Escape.
question=""
for _ in $(seq 1 50); do
    question="$(xdotool search --onlyvisible --name '^Velmora$' | grep -vx "$window" | head -n 1 || true)"
    [ -n "$question" ] && break
    sleep 0.2
done
[ -n "$question" ] || fail "the sample files' question never appeared"
xdotool windowfocus --sync "$question"
xdotool key Escape
for _ in $(seq 1 50); do
    xdotool search --onlyvisible --name '^Velmora$' | grep -qvx "$window" || break
    sleep 0.2
done
sleep 0.5

import -window "$window" "$output/velmora.png"
echo "smoke test: screenshot in $output/velmora.png"

convert "$output/before.png" -crop "$list_area" +repage "$home/list-before.png"
convert "$output/velmora.png" -crop "$list_area" +repage "$home/list-after.png"
changed="$(compare -metric AE "$home/list-before.png" "$home/list-after.png" null: 2>&1 || true)"
[ "${changed%% *}" -gt 1000 ] 2>/dev/null ||
    fail "the file list looks the same after loading the samples ($changed pixels changed)"

python3 "$here/close_window.py" "$window"
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end when its window was closed"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "smoke test: passed"
