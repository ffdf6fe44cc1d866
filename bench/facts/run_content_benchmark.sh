#!/usr/bin/env bash
# What --content adds to velmora-find, against cat reading the same files, in one run:
# PAIRS pairs of 1 MiB files with alike names (half of them copies, the other half
# differing in their last byte, so every file is read whole), all in the page cache.
# Then the same names with partners one byte longer, which must cost no reading at all.
# Wall-clock seconds, best of three; xxhsum -H2 (the same 128-bit hash) if installed.
#   bench/facts/run_content_benchmark.sh [BUILD_DIR] [PAIRS]   (default 10000 pairs: 20 GiB)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$here/build}"
pairs="${2:-10000}"
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

best() {
    python3 - "$@" <<'PY'
import subprocess, sys, time
times = []
for _ in range(3):
    start = time.perf_counter()
    subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, check=True)
    times.append(time.perf_counter() - start)
print(f"{min(times):.3f}")
PY
}

find "$tree/copies" -type f | sort > "$tree/copies.list"
find "$tree/sizes" -type f | sort > "$tree/sizes.list"
xargs -a "$tree/copies.list" -d '\n' cat > /dev/null # into the page cache
search=("$program" --ignore-extension --format json)
echo "$pairs pairs of 1 MiB files, half of them copies, in the page cache"
"${search[@]}" --content "$tree/copies.list" | grep -o '"content":"[a-z]*"' | sort | uniq -c |
    sed 's/^/  rows /'
names="$(best "${search[@]}" "$tree/copies.list")"
content="$(best "${search[@]}" --content "$tree/copies.list")"
cat_seconds="$(best xargs -a "$tree/copies.list" -d '\n' cat)"
echo "  names only: $names s; with --content: $content s"
awk -v n="$names" -v c="$content" -v k="$cat_seconds" \
    'BEGIN { printf "  cat: %s s; --content adds %.3f s, %.2fx cat\n", k, c - n, (c - n) / k }'
if command -v xxhsum > /dev/null; then
    echo "  xxhsum -H2: $(best xargs -a "$tree/copies.list" -d '\n' xxhsum -H2) s"
fi
echo "$pairs pairs whose sizes differ"
names="$(best "${search[@]}" "$tree/sizes.list")"
content="$(best "${search[@]}" --content "$tree/sizes.list")"
awk -v n="$names" -v c="$content" \
    'BEGIN { printf "  names only: %s s; with --content: %s s (adds %.3f s)\n", n, c, c - n }'
