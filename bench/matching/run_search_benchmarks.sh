#!/usr/bin/env bash
# Times whole searches over corpora of real file names, each beside the pair-by-pair
# search on a smaller list measured in the same run, and prints the ratios.
#   bench/matching/run_search_benchmarks.sh [BUILD_DIR]
# Needs the velmora-search-driver target built in BUILD_DIR (default: build).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$here/build}"
driver="$build/bench/velmora-search-driver"
corpus="$(mktemp -d)"
trap 'rm -rf "$corpus"' EXIT

"$here/bench/corpus/make_corpus.py" 10000 > "$corpus/names-10k.txt"
"$here/bench/corpus/make_corpus.py" 100000 > "$corpus/names-100k.txt"
"$here/bench/corpus/make_corpus.py" 1000000 > "$corpus/paths-1m.txt"
yes /home/user/Pictures/copy.jpg | head -n 20000 > "$corpus/copies-20k.txt" || true

# Processor seconds of one driver run (the figure in brackets of its report).
seconds() { "$driver" "$@" | sed -E 's/.*processor ([0-9.]+) s.*/\1/'; }
run() { echo "  $("$driver" "$@")"; }
ratio() { awk -v slow="$1" -v fast="$2" 'BEGIN { printf "  pair-by-pair / engine: %.0fx\n", slow / (fast > 0.0005 ? fast : 0.0005) }'; }

echo "Similarity mode"
run "$corpus/names-10k.txt"
run "$corpus/names-100k.txt"
echo "  baseline, first 1000 names, one thread:"
ratio "$(seconds "$corpus/names-10k.txt" --limit 1000 --reference)" \
      "$(seconds "$corpus/names-10k.txt" --limit 1000 --threads 1)"

echo "Option mode (Check3, Check1 with \"-\")"
/usr/bin/time -f "  peak memory %M KB" "$driver" "$corpus/paths-1m.txt" --options
echo "  baseline, first 3000 paths, one thread:"
ratio "$(seconds "$corpus/paths-1m.txt" --options --limit 3000 --reference)" \
      "$(seconds "$corpus/paths-1m.txt" --options --limit 3000 --threads 1)"

echo "20,000 copies of one path"
run "$corpus/copies-20k.txt"
run "$corpus/copies-20k.txt" --options
echo "  baseline, 2000 copies:"
ratio "$(seconds "$corpus/copies-20k.txt" --limit 2000 --reference)" \
      "$(seconds "$corpus/copies-20k.txt" --limit 2000)"
