#!/usr/bin/env bash
# What --content adds to velmora-find, against cat reading the same files, in one run:
# PAIRS pairs of 1 MiB files with alike names (half of them copies, the other half
# differing in their last byte, so every file is read whole), all in the page cache.
# Then the same names with partners one byte longer, which must cost no reading at all.
# Each round runs every command once, so a busy machine slows them alike; the figures are
# medians over RUNS rounds of wall-clock seconds and of each command's time over cat's in
# the same round. xxhsum -H2 (the same 128-bit hash) joins in if installed. The tree is
# made under $TMPDIR (/tmp when unset) and removed at the end.
#   bench/facts/run_content_benchmark.sh [BUILD_DIR] [PAIRS] [RUNS]
#   (defaults: 10000 pairs, 20 GiB of files; 5 rounds)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$here/build}"
pairs="${2:-10000}"
runs="${3:-5}"
program="$build/velmora/velmora-find"
tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT

# Fixed seed: the same files on every machine. Each pair shares a name in two folders,
# so the option mode pairs them and nothing else.
python3 - "$tree" "$pairs" <<'PY'
import os, random, sys
tree, pairs = sys.argv[1], int(sys.argv[2])
generator = random.Random(17)
for side in ("copies/a", "copies/b", "sizes/a", "sizes/b"):
    os.makedirs(os.path.join(tree, side))
for pair in range(pairs):
    name = f"file-{pair:05d}.dat"
    body = bytearray(generator.randbytes(1 << 20))
    with open(os.path.join(tree, "copies/a", name), "wb") as out:
        out.write(body)
    if pair % 2:
        body[-1] ^= 1
    with open(os.path.join(tree, "copies/b", name), "wb") as out:
        out.write(body)
    # The other tree costs no room: sizes are all that matter there.
    for side, size in (("sizes/a", 1 << 20), ("sizes/b", (1 << 20) + 1)):
        with open(os.path.join(tree, side, name), "wb") as out:
            out.truncate(size)
PY

# Arguments: label, then the command's words, then ";" ... for each command to time. The
# first command is the one the others are measured against.
rounds() {
    python3 - "$runs" "$@" <<'PY'
import statistics, subprocess, sys, time
runs, words = int(sys.argv[1]), sys.argv[2:]
commands = []
while words:
    end = words.index(";") if ";" in words else len(words)
    commands.append((words[0], words[1:end]))
    words = words[end + 1:]
seconds = {label: [] for label, _ in commands}
for _ in range(runs):
    for label, command in commands:
        start = time.perf_counter()
        # xxhsum draws its own progress on standard error.
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        seconds[label].append(time.perf_counter() - start)
base = commands[0][0]
def line(label, times):
    ratios = [t / b for t, b in zip(times, seconds[base])]
    print(f"  {label:<28} {statistics.median(times):8.3f} s  {statistics.median(ratios):6.2f}x"
          f" {base}  (rounds {min(ratios):.2f}x to {max(ratios):.2f}x)")
for label, _ in commands:
    line(label, seconds[label])
# What the option costs beyond the names alone, round by round.
if "names only" in seconds and "names and --content" in seconds:
    line("--content adds", [c - n for c, n in
                            zip(seconds["names and --content"], seconds["names only"])])
PY
}

find "$tree/copies" -type f | sort > "$tree/copies.list"
find "$tree/sizes" -type f | sort > "$tree/sizes.list"
xargs -a "$tree/copies.list" -d '\n' cat > /dev/null # into the page cache
search=("$program" --ignore-extension --format json)
echo "$pairs pairs of 1 MiB files, half of them copies, in the page cache ($runs rounds)"
"${search[@]}" --content "$tree/copies.list" | grep -o '"content":"[a-z]*"' | sort | uniq -c |
    sed 's/^/  rows /'
hash=()
if command -v xxhsum > /dev/null; then
    hash=(";" "xxhsum -H2" xargs -a "$tree/copies.list" -d '\n' xxhsum -H2)
fi
rounds cat xargs -a "$tree/copies.list" -d '\n' cat "${hash[@]}" \
    ";" "names only" "${search[@]}" "$tree/copies.list" \
    ";" "names and --content" "${search[@]}" --content "$tree/copies.list"
# Any file the kernel dropped meanwhile was read from the disk in some round.
xargs -a "$tree/copies.list" -d '\n' fincore --bytes --noheadings --output RES |
    awk -v all="$((pairs * 2))" '{ cached += $1 }
        END { printf "  still in the page cache: %.0f of %d MiB\n", cached / 1048576, all }'
echo "$pairs pairs whose sizes differ ($runs rounds)"
rounds "names only" "${search[@]}" "$tree/sizes.list" \
    ";" "names and --content" "${search[@]}" --content "$tree/sizes.list"
