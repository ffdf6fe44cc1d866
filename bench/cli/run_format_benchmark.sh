#!/usr/bin/env bash
# Times velmora-find's output formats on a list of 1,000,000 real paths in option mode:
# json and csv against rows, the plainest format, measured in the same run, best of three.
#   bench/cli/run_format_benchmark.sh [BUILD_DIR]
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${1:-$here/build}"
program="$build/velmora/velmora-find"
corpus="$(mktemp -d)"
trap 'rm -rf "$corpus"' EXIT

"$here/bench/corpus/make_corpus.py" 1000000 > "$corpus/paths-1m.txt"

# Best processor seconds (user and system) of three runs, the output thrown away: on a
# shared machine they vary far less than the time on the clock.
best() {
    python3 - "$program" "$corpus/paths-1m.txt" "$@" <<'PY'
import os, subprocess, sys
program, corpus, *arguments = sys.argv[1:]
times = []
for _ in range(3):
    before = os.times()
    subprocess.run([program, "--ignore-extension", "--before", "-", *arguments, corpus],
                   stdout=subprocess.DEVNULL, check=False)
    after = os.times()
    times.append(after.children_user + after.children_system
                 - before.children_user - before.children_system)
print(f"{min(times):.3f}")
PY
}

rows_lines="$("$program" --ignore-extension --before - "$corpus/paths-1m.txt" | wc -l)"
echo "1,000,000 paths, option mode, $rows_lines rows found"
rows="$(best --format rows)"
echo "  rows: $rows s"
for format in json csv; do
    seconds="$(best --format "$format")"
    awk -v format="$format" -v s="$seconds" -v base="$rows" \
        'BEGIN { printf "  %s: %s s, %.2fx rows\n", format, s, s / base }'
done
