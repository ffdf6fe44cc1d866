# Sourced, not run, by the scripts that start Velmora on a desktop as a user meets it:
# a home of its own, the processes started for the run ended with it, a window manager,
# and the wait for a window to show.

pid=""      # the program, once started
helpers=()  # what was started for it: a window manager, a compositor

# A home of its own in `home`: no stored options, nothing written to the developer's
# settings or trash. On exit the program and its helpers are ended and the home removed.
use_private_home() {
    home="$(mktemp -d)"
    trap end_and_clean_up EXIT
    mkdir -m 700 "$home/runtime"
    export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
        XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/runtime"
}

end_and_clean_up() {
    local process
    for process in "$pid" "${helpers[@]}"; do
        if [ -n "$process" ]; then kill "$process" 2>/dev/null || true; fi
    done
    rm -rf "$home"
}

# Starts openbox on the display, which places, frames and titles the windows as a desktop
# does, and waits until it runs; returns 1 when it never does.
start_window_manager() {
    local log="$1"
    openbox --sm-disable >"$log" 2>&1 &
    helpers+=("$!")
    for _ in $(seq 1 50); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.2
    done
    return 1
}

# Waits for a visible window whose title matches, other than the ones given, for up to
# `window_wait_seconds` (20), looking every `window_poll_seconds` (0.2); prints its id,
# or nothing.
await_window() {
    local title="$1" found="" until=$((SECONDS + ${window_wait_seconds:-20}))
    shift
    while [ "$SECONDS" -lt "$until" ]; do
        found="$(xdotool search --onlyvisible --name "$title" 2>/dev/null |
            grep -vxF "$(printf '%s\n' "${@:-none}")" | head -n 1 || true)"
        [ -n "$found" ] && break
        sleep "${window_poll_seconds:-0.2}"
    done
    echo "$found"
}
