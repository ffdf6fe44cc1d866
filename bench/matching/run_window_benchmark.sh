#!/usr/bin/env bash
# Times the window as a user meets it on a big folder: the folder of COUNT empty files
# named as this machine's files are (real names, one folder, listed sorted by the walk) is
# handed to the program on its command line, and once the list is filled, a click on
# "Start Finding" starts the clock, which stops when the results window shows. Runs the
# current build and, when given, an earlier build of the window program, ROUNDS times each
# in turn on the same display, and prints every time and the medians.
#   bench/matching/run_window_benchmark.sh [PREVIOUS_VELMORA] [BUILD_DIR] [COUNT] [ROUNDS]
# Needs Xvfb, openbox and xdotool (the smoke stage's packages).
set -euo pipefail

previous="${1:-}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${2:-$here/build}"
count="${3:-187000}"
rounds="${4:-3}"
current="$build/velmora/velmora"
for program in "$current" ${previous:+"$previous"}; do
    [ -x "$program" ] || { echo "no window program at $program: build it first" >&2; exit 2; }
done

# shellcheck source=../../tests/smoke/desktop.sh
source "$here/tests/smoke/desktop.sh"
use_private_home

# The folder: distinct real names, those a walk leaves out (hidden, "~", not UTF-8) aside.
folder="$home/folder"
mkdir "$folder"
{ find / -xdev -type f 2>/dev/null || true; } | python3 -c '
import os, sys
count, folder, seen = int(sys.argv[1]), sys.argv[2].encode(), set()
for line in sys.stdin.buffer:
    name = os.path.basename(line.rstrip(b"\n"))
    if not name or name[:1] in (b".", b"~") or name in seen:
        continue
    try:
        name.decode("utf-8")
    except UnicodeDecodeError:
        continue
    seen.add(name)
    open(os.path.join(folder, name), "wb").close()
    if len(seen) == count:
        break
print(len(seen), "files in the folder", file=sys.stderr)
' "$count" "$folder"

export DISPLAY=":$((90 + RANDOM % 100))"
Xvfb "$DISPLAY" -screen 0 1024x768x24 -dpi 96 >/dev/null 2>&1 &
helpers+=("$!")
sleep 1
start_window_manager "$home/openbox.log" || { echo "the window manager did not start" >&2; exit 1; }

# Seconds from the click on "Start Finding" to the results window, for one program.
time_once() {
    local program="$1" window results start WIDTH HEIGHT X Y SCREEN cpu previous=-1
    rm -rf "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
    "$program" "$folder" >"$home/velmora.log" 2>&1 &
    pid=$!
    window="$(window_wait_seconds=60 await_window '^Velmora$')"
    [ -n "$window" ] || { echo "no window titled \"Velmora\" appeared" >&2; exit 1; }
    # The list is filled once the program stops using the processor.
    while sleep 0.5; do
        cpu="$(awk '{ print $14 + $15 }' "/proc/$pid/stat")"
        [ "$cpu" = "$previous" ] && break
        previous="$cpu"
    done
    eval "$(xdotool getwindowgeometry --shell "$window")"
    start="$(date +%s.%N)"
    # The middle of "Start Finding", laid out in twips on a window 8040 twips wide.
    xdotool mousemove --window "$window" $((4020 * WIDTH / 8040)) $((6022 * WIDTH / 8040)) click 1
    results="$(window_wait_seconds=600 window_poll_seconds=0.02 await_window '^Velmora$' "$window")"
    [ -n "$results" ] || { echo "the results window never appeared" >&2; exit 1; }
    echo "$(date +%s.%N) - $start" | bc
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=""
}

declare -A times
for round in $(seq 1 "$rounds"); do
    for program in "$current" ${previous:+"$previous"}; do
        seconds="$(time_once "$program")"
        times[$program]+="$seconds "
        printf "round %d  %-50s %6.2f s\n" "$round" "$program" "$seconds"
    done
done
for program in "$current" ${previous:+"$previous"}; do
    printf "median  %-50s %6.2f s\n" "$program" \
        "$(printf '%s\n' ${times[$program]} | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')"
done
