#!/usr/bin/env bash
# Starts Velmora on a real X display under the default light palette, under a skin that
# sets only a dark background colour, and under a dark Fusion palette (qt6ct's "darker"
# scheme), keeps a screenshot of the main window for each (build/smoke/look-light.png,
# look-skin.png, look-dark.png), and measures the contrast of the captions
# users read: the list's header, the "Options" title, the check boxes' captions on both
# sides of their text boxes, a button and the progress bar. Fails when one falls below 4.5:1, the contrast body text needs.
#
#   tests/smoke/looks.sh PROGRAM OUTPUT-FOLDER
set -euo pipefail

program="$1"
output="$2"

if [ -z "${VELMORA_LOOKS_DISPLAY:-}" ]; then
    mkdir -p "$output"
    # 96 dots per inch: a twip is a fifteenth of a pixel, so the regions below are exact.
    exec env VELMORA_LOOKS_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96 -noreset" \
        "${BASH_SOURCE[0]}" "$@"
fi

fail() {
    echo "looks: $*" >&2
    exit 1
}

# shellcheck source=desktop.sh
source "$(dirname "${BASH_SOURCE[0]}")/desktop.sh"
use_private_home
unset QT_QPA_PLATFORM

# The widest contrast within a region of a picture, text against what lies behind it, by
# the web's accessibility formula.
contrast() {
    convert "$1" -crop "$2" +repage -depth 8 ppm:- | python3 -c '
import sys
data = sys.stdin.buffer.read()
fields, at = [], 0
while len(fields) < 4:
    while data[at:at + 1].isspace():
        at += 1
    end = at
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[at:end])
    at = end
pixels = data[at + 1:]
def linear(c):
    c /= 255
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
lum = [0.2126 * linear(pixels[i]) + 0.7152 * linear(pixels[i + 1]) + 0.0722 * linear(pixels[i + 2])
       for i in range(0, len(pixels), 3)]
print("%.2f" % ((max(lum) + 0.05) / (min(lum) + 0.05)))'
}

# Regions in the main window's client area, in pixels at 96 dots per inch: the caption
# text only, never the check marks or the text boxes, whose own edges would count.
regions=(
    "File(s) header:40x12+10+12"
    "Options title:44x12+10+268"
    "first caption, before its box:140x15+42+288"
    "first caption, after its box:230x15+280+288"
    "second caption, after its box:230x15+280+318"
    "third caption:330x15+42+348"
    "Start Finding:120x20+200+392"
    "Progress Bar:90x14+222+429"
)

look() {
    local name="$1" theme="${2:-}" program="${3:-$program}" window="" shot="$output/look-$1.png" failures=0 value label area
    export HOME="$home/$name" XDG_CONFIG_HOME="$home/$name/config" \
        XDG_DATA_HOME="$home/$name/data" XDG_RUNTIME_DIR="$home/$name/runtime"
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    QT_QPA_PLATFORMTHEME="$theme" "$program" >"$output/look-$name.log" 2>&1 &
    pid=$!
    window="$(await_window '^Velmora$')"
    [ -n "$window" ] || fail "$name: no window titled \"Velmora\" appeared"
    sleep 1
    import -window "$window" "$shot"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=""
    for region in "${regions[@]}"; do
        label="${region%%:*}"
        area="${region#*:}"
        value="$(contrast "$shot" "$area")"
        echo "looks: $name: $label: $value:1"
        if ! python3 -c "import sys; sys.exit(0 if float('$value') >= 4.5 else 1)"; then
            echo "looks: $name: \"$label\" is hard to read: contrast $value:1, below 4.5:1" >&2
            failures=$((failures + 1))
        fi
    done
    echo "looks: screenshot in $shot"
    [ "$failures" -eq 0 ] || fail "$name: $failures caption(s) below 4.5:1"
}

look light

# The skin is read from beside the program, so a copy of its folder gets one.
skinned="$home/skinned"
cp -r "$(dirname "$program")" "$skinned"
mkdir -p "$skinned/x"
echo 'QWidget { background-color: #203040; }' >"$skinned/x/o.cjs"
look skin "" "$skinned/$(basename "$program")"

plugin="$(find /usr/lib -path '*qt6/plugins/platformthemes/libqt6ct.so' 2>/dev/null | head -n 1)"
scheme=/usr/share/qt6ct/colors/darker.conf
if [ -z "$plugin" ] || [ ! -f "$scheme" ]; then
    echo "looks: dark palette skipped: qt6ct is not installed"
    exit 0
fi
mkdir -p "$home/dark/config/qt6ct"
printf '[Appearance]\ncolor_scheme_path=%s\ncustom_palette=true\nstyle=Fusion\n' "$scheme" \
    >"$home/dark/config/qt6ct/qt6ct.conf"
look dark qt6ct
echo "looks: passed"
