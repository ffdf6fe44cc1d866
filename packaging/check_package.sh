#!/usr/bin/env bash
# Checks a built velmora_*.deb: what it holds, what it depends on, and that it installs
# into a working program. The install check needs root (or sudo) and leaves the machine as
# it found it: the package is removed again afterwards.
#
#   packaging/check_package.sh PACKAGE.deb SMOKE-OUTPUT-FOLDER
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
deb="$(realpath "$1")"
smoke_output="$2"
problems=0

problem() {
    echo "package check: $*" >&2
    problems=$((problems + 1))
}

contents="$(dpkg-deb -c "$deb")"
for path in \
    ./usr/lib/velmora/velmora ./usr/lib/velmora/velmora-find \
    ./usr/lib/velmora/HAND-M.CUR ./usr/lib/velmora/drag.ico \
    ./usr/lib/velmora/Samples/letter.txt ./usr/lib/velmora/Samples/1/notes.txt \
    ./usr/lib/velmora/Samples/2/report.txt \
    ./usr/share/applications/velmora.desktop \
    ./usr/share/icons/hicolor/scalable/apps/velmora.svg \
    ./usr/share/icons/hicolor/16x16/apps/velmora.png \
    ./usr/share/icons/hicolor/48x48/apps/velmora.png \
    ./usr/share/icons/hicolor/256x256/apps/velmora.png \
    ./usr/share/man/man1/velmora-find.1.gz ./usr/share/man/man1/velmora.1.gz \
    ./usr/share/doc/velmora/copyright ./usr/share/doc/velmora/changelog.Debian.gz \
    ./usr/share/metainfo/example.velmora.velmora.metainfo.xml \
    ./usr/share/bash-completion/completions/velmora-find; do
    grep -q " $path\$" <<<"$contents" || problem "$path is missing"
done
for program in velmora velmora-find; do
    grep -q " ./usr/bin/$program -> ../lib/velmora/$program\$" <<<"$contents" ||
        problem "/usr/bin/$program is not a link into /usr/lib/velmora"
done
unpacked="$(mktemp -d)"
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/velmora.desktop" ||
    problem "the desktop entry is not valid"
# Software centres read the metadata offline, so the check does not reach out either.
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/example.velmora.velmora.metainfo.xml" ||
    problem "the AppStream metadata is not valid"
# Every protection on both programs: PIE, stack protector, fortified calls, RELRO and
# immediate binding. Control-flow marking needs every object linked in to carry it, and
# Debian 12's C start-up files do not, so the linker drops it whatever the build asks.
hardening-check --quiet --nocfprotection "$unpacked/usr/lib/velmora/velmora" "$unpacked/usr/lib/velmora/velmora-find" ||
    problem "a program lacks a protection (hardening-check above)"
# The changelog is written by hand, the version comes from the build: a new release needs
# a new entry.
version="$(dpkg-deb -f "$deb" Version)"
gzip -dc "$unpacked/usr/share/doc/velmora/changelog.Debian.gz" | head -n 1 |
    grep -qF "velmora ($version) " || problem "packaging/debian/changelog has no entry for $version"
rm -rf "$unpacked"
trap - EXIT
# Info and pedantic tags are shown for the record; an error or a warning fails.
lintian --fail-on error,warning --display-info --pedantic --tag-display-limit 0 "$deb" ||
    problem "lintian reports errors or warnings (above)"
depends="$(dpkg-deb -f "$deb" Depends)"
for needed in libqt6core6 libqt6dbus6 libqt6widgets6 qt6-qpa-plugins qt6-wayland fonts-liberation2 \
    libxxhash0; do
    grep -q "$needed" <<<"$depends" || problem "Depends lacks $needed: $depends"
done
[ "$problems" -eq 0 ] || exit 1
echo "package check: contents and dependencies of $(basename "$deb") are as expected"

if dpkg-query -W -f='${Status}' velmora 2>/dev/null | grep -q "install ok installed"; then
    echo "package check: velmora is already installed here; the install check is left out" >&2
    exit 0
fi
root=()
if [ "$(id -u)" -ne 0 ]; then
    if ! sudo -n true 2>/dev/null; then
        echo "package check: installing needs root; the install check is left out" >&2
        exit 0
    fi
    root=(sudo)
fi

trap '"${root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q velmora >/dev/null' EXIT
"${root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb"

help="$(/usr/bin/velmora-find --help)" || problem "velmora-find --help fails"
grep -q "^Usage: velmora-find" <<<"$help" || problem "velmora-find --help shows no usage"
listed="$(/usr/bin/velmora-find --folder /usr/lib/velmora/Samples --list-only)" ||
    problem "velmora-find cannot list the installed samples"
grep -qx "/usr/lib/velmora/Samples/1/notes.txt" <<<"$listed" ||
    problem "the installed samples are not where the program looks"
gzip -dc /usr/share/man/man1/velmora-find.1.gz | grep -q "^\.TH VELMORA-FIND 1" ||
    problem "the installed manual page is unreadable"
# The program started through its link must find its samples beside its real executable.
"$here/tests/smoke/smoke.sh" /usr/bin/velmora "$smoke_output" ||
    problem "the installed program failed its smoke test"
# The package's own dependencies must carry it onto a Wayland desktop.
"$here/tests/smoke/wayland.sh" /usr/bin/velmora "$smoke_output" ||
    problem "the installed program failed its smoke test on Wayland"
gzip -dc /usr/share/man/man1/velmora.1.gz | grep -q "^\.TH VELMORA 1" ||
    problem "the installed manual page of velmora is unreadable"

[ "$problems" -eq 0 ] || exit 1
echo "package check: the installed package works"
