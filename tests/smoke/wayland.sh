#!/usr/bin/env bash
# Starts Velmora on a Wayland compositor (Weston without a screen) through Qt's Wayland
# plugin, as on a Wayland desktop session: the main window must be handed to the
# compositor titled "Velmora" and drawn, the program must keep running, and it must end
# without a crash when told to. Keeps a screenshot where Weston can take one. Skips, with
# the reason, where Weston or the plugin is missing or Weston cannot run here.
#
#   tests/smoke/wayland.sh PROGRAM OUTPUT-FOLDER
set -euo pipefail

program="$1"
output="$2"
mkdir -p "$output"
log="$output/wayland.log"

skip() {
    echo "Wayland smoke test: skipped: $*"
    exit 0
}
fail() {
    echo "Wayland smoke test: $*" >&2
    [ -s "$output/weston.log" ] && tail -n 20 "$output/weston.log" | sed 's/^/  weston: /' >&2
    [ -s "$log" ] && grep -v '^\[' "$log" | tail -n 20 | sed 's/^/  velmora: /' >&2
    exit 1
}

command -v weston >/dev/null || skip "weston is missing (scripts/dev.sh installs it for test --all)"
compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null ||
    skip "Qt's Wayland plugin is missing (the qt6-wayland package)"

# shellcheck source=desktop.sh
source "$(dirname "${BASH_SOURCE[0]}")/desktop.sh"
use_private_home
unset DISPLAY
socket=velmora-smoke

# --debug lets a client take screenshots of the output, which the software renderer draws.
weston --backend=headless-backend.so --use-pixman --socket="$socket" --idle-time=0 --width=1024 \
    --height=768 --debug >"$output/weston.log" 2>&1 &
weston_pid=$!
helpers+=("$weston_pid")
for _ in $(seq 1 50); do
    [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
    kill -0 "$weston_pid" 2>/dev/null || break
    sleep 0.2
done
[ -S "$XDG_RUNTIME_DIR/$socket" ] ||
    skip "weston cannot run here: $(tail -n 1 "$output/weston.log" 2>/dev/null)"

# The client's side of the protocol is logged, so the test sees what it asked the
# compositor to show without a screen of its own.
env QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$socket" WAYLAND_DEBUG=client \
    "$program" >"$log" 2>&1 &
pid=$!

shown=false
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    if grep -Eq 'xdg_toplevel@[0-9]+\.set_title\("Velmora"\)' "$log" &&
        grep -Eq 'xdg_surface@[0-9]+\.ack_configure' "$log" &&
        grep -Eq 'wl_surface@[0-9]+\.attach\(wl_buffer' "$log"; then
        shown=true
        break
    fi
    sleep 0.2
done
kill -0 "$pid" 2>/dev/null || fail "the program ended at start-up on Wayland"
$shown || fail "no window titled \"Velmora\" was drawn on the compositor"
sleep 3
kill -0 "$pid" 2>/dev/null || fail "the program ended on its own after opening its window"

if command -v weston-screenshooter >/dev/null; then
    (cd "$home" && WAYLAND_DISPLAY="$socket" timeout 10 weston-screenshooter >/dev/null 2>&1) || true
    shot="$(compgen -G "$home/wayland-screenshot-*.png" | head -n 1 || true)"
    if [ -n "$shot" ]; then
        mv "$shot" "$output/wayland.png"
        echo "Wayland smoke test: screenshot of the compositor's output in $output/wayland.png"
    fi
fi

# Ended as a session's end ends it: by SIGTERM, without an abort or a crash.
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || [ "$status" -eq 143 ] || fail "the program ended with status $status"
echo "Wayland smoke test: passed"
