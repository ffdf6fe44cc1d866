#!/usr/bin/env bash
# Times velmora-find on the generated long-name corpora (a music library and descriptive
# document names), on real names in one folder and on Windows paths read as whole names,
# each sorted as a folder walk lists it and shuffled, beside an earlier build of
# velmora-find given by path, in the same run; prints both times and the ratio, and says
# when the two builds print different results.
# The ratio is of processor time, which a busy machine disturbs less than wall time.
#   bench/matching/run_longname_benchmarks.sh PREVIOUS_VELMORA_FIND [BUILD_DIR] [COUNT]
# COUNT is the number of names of each corpus (default 20000).
set -euo pipefail

previous="${1:?give the path of an earlier velmora-find}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="${2:-$here/build}"
count="${3:-20000}"
current="$build/velmora/velmora-find"
for program in "$current" "$previous"; do
    [ -x "$program" ] || { echo "no velmora-find at $program: build it first" >&2; exit 2; }
done
corpus="$(mktemp -d)"
trap 'rm -rf "$corpus"' EXIT

generate="$here/bench/corpus/make_generated_corpus.py"
for kind in music documents; do
    "$generate" "$kind" "$count" > "$corpus/$kind-sorted.txt"
    "$generate" "$kind" "$count" --shuffle > "$corpus/$kind-shuffled.txt"
done
# The real names of this machine's files in one folder, listed as the window's folder walk
# lists them (sorted) and shuffled: neighbours in a sorted folder are much alike.
"$here/bench/corpus/make_corpus.py" "$count" | sed 's|.*/|/home/user/folder/|' |
    LC_ALL=C sort > "$corpus/folder-sorted.txt"
shuf --random-source=<(yes) "$corpus/folder-sorted.txt" > "$corpus/folder-shuffled.txt"
# A list of Windows paths read with this system's own path style: each whole path is one
# long name, and neighbours in the sorted list share long beginnings.
"$here/bench/corpus/make_corpus.py" "$count" --seed 3 | sed 's|/|\\|g; s|^|C:|' |
    LC_ALL=C sort > "$corpus/windows-paths-sorted.txt"
shuf --random-source=<(yes) "$corpus/windows-paths-sorted.txt" > "$corpus/windows-paths-shuffled.txt"

# "WALL PROCESSOR" of one run; its results go to a file to compare.
measure() {
    local output="$1"
    shift
    /usr/bin/time -f "%e %U %S" "$@" 2>&1 >"$output" | tail -n 1 | awk '{ print $1, $2 + $3 }'
}

printf "%-22s %21s %21s %7s\n" "$count names" "previous: wall (cpu)" "now: wall (cpu)" "ratio"
for list in music-sorted music-shuffled documents-sorted documents-shuffled folder-sorted \
    folder-shuffled windows-paths-sorted windows-paths-shuffled; do
    read -r old_wall old_cpu < <(measure "$corpus/previous.out" "$previous" "$corpus/$list.txt")
    read -r new_wall new_cpu < <(measure "$corpus/current.out" "$current" "$corpus/$list.txt")
    same=""
    cmp -s "$corpus/previous.out" "$corpus/current.out" || same="  RESULTS DIFFER"
    awk -v label="$list" -v ow="$old_wall" -v oc="$old_cpu" -v nw="$new_wall" -v nc="$new_cpu" \
        -v note="$same" 'BEGIN {
        printf "%-22s %8.2f s (%7.2f s) %8.2f s (%7.2f s) %6.1fx%s\n",
               label, ow, oc, nw, nc, oc / (nc > 0.005 ? nc : 0.005), note
    }'
done
