#!/usr/bin/env bash
# Times whole similarity searches (and the memory of both modes) on the corpora where the
# cheap bounds let most pairs through, each figure beside the previous engine's from the
# same run (velmora-search-driver-previous, built from an earlier revision; see
# bench/matching/CMakeLists.txt), and prints their ratios.
#   bench/matching/run_similarity_benchmarks.sh [--quick] [BUILD_DIR]
# --quick measures the previous engine on the first quarter of the UUID list only (it
# takes minutes on the whole of it) and leaves out the million-path memory runs.
set -euo pipefail

quick=0
if [ "${1:-}" = "--quick" ]; then
    quick=1
    shift
fi
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$here/build}"
current="$build/bench/velmora-search-driver"
previous="$build/bench/velmora-search-driver-previous"
corpus="$(mktemp -d)"
trap 'rm -rf "$corpus"' EXIT
if [ ! -x "$previous" ]; then
    # The engine before the vector lanes and the two scans.
    cmake -D VELMORA_PREVIOUS_ENGINE=ab6ff11 "$build" >/dev/null
    cmake --build "$build" --target velmora-search-driver velmora-search-driver-previous
fi
for driver in "$current" "$previous"; do
    [ -x "$driver" ] || { echo "build $(basename "$driver") first" >&2; exit 2; }
done

generate="$here/bench/corpus/make_generated_corpus.py"
"$generate" uuids 100000 > "$corpus/uuids-100k.txt"
"$generate" near-long 4 30000 > "$corpus/near-long-4.txt"
"$generate" random-long 40 5000 > "$corpus/random-long-40.txt"
"$here/bench/corpus/make_corpus.py" 100000 > "$corpus/names-100k.txt"
find / -xdev -type f 2>/dev/null | LC_ALL=C sort > "$corpus/machine.txt" || true

# "WALL PROCESSOR ROWS" of one driver run.
measure() {
    "$@" | sed -E 's/.*: ([0-9]+) rows .* in ([0-9.]+) s \(processor ([0-9.]+) s\).*/\2 \3 \1/'
}
compare() {
    local label="$1"
    shift
    read -r old_wall old_processor old_rows < <(measure "$previous" "$@")
    read -r new_wall new_processor new_rows < <(measure "$current" "$@")
    awk -v label="$label" -v ow="$old_wall" -v op="$old_processor" -v nw="$new_wall" \
        -v np="$new_processor" -v orows="$old_rows" -v nrows="$new_rows" 'BEGIN {
        printf "%-34s previous %8.3f s (processor %8.3f)  now %7.3f s (processor %7.3f)  %6.1fx%s\n",
               label, ow, op, nw, np, op / (np > 0.0005 ? np : 0.0005),
               orows == nrows ? "" : "  ROWS DIFFER"
    }'
}
peak() {
    /usr/bin/time -f "%M" "$@" 2>&1 >/dev/null | tail -n 1
}

echo "Similarity mode, wall time on $(nproc) cores (ratio: processor time, previous / now)"
if [ "$quick" = 1 ]; then
    head -n 25000 "$corpus/uuids-100k.txt" > "$corpus/uuids-25k.txt"
    compare "25,000 UUID names" "$corpus/uuids-25k.txt"
    echo "  $("$current" "$corpus/uuids-100k.txt" | sed 's/^engine/now:/') (100,000 UUID names)"
else
    compare "100,000 UUID names" "$corpus/uuids-100k.txt"
fi
compare "4 names of 30,000, one letter apart" "$corpus/near-long-4.txt"
compare "40 random names of 5,000" "$corpus/random-long-40.txt"
compare "100,000 real names" "$corpus/names-100k.txt"
compare "this machine ($(wc -l < "$corpus/machine.txt") paths)" "$corpus/machine.txt"

if [ "$quick" = 0 ]; then
    "$here/bench/corpus/make_corpus.py" 1000000 > "$corpus/paths-1m.txt"
    echo "Peak memory, 1,000,000 paths (KB)"
    echo "  similarity mode: previous $(peak "$previous" "$corpus/paths-1m.txt")," \
         "now $(peak "$current" "$corpus/paths-1m.txt")"
    echo "  option mode:     previous $(peak "$previous" "$corpus/paths-1m.txt" --options)," \
         "now $(peak "$current" "$corpus/paths-1m.txt" --options)"
fi
