#!/usr/bin/env python3
"""Times the folder walk of velmora-find against find(1) on one generated tree.

Builds (once) a tree of 200,000 files in 20,000 folders, then, with a warm cache, times
`velmora-find --folder TREE --list-only > /dev/null` and `find TREE -type f | wc -l`
several times each in the same run, and prints the medians and their ratio. Both are
expected to see the same number of files.

    bench/walk/run_walk_benchmark.py [--program build/velmora/velmora-find]
                                     [--tree /tmp/velmora-walk-tree] [--runs 7]
"""

import argparse
import os
import statistics
import subprocess
import sys
import time

TOP_FOLDERS = 200
SUBFOLDERS = 99  # 200 + 200 * 99 = 20,000 folders
FILES_PER_FOLDER = 10  # 200,000 files
STEMS = ["report", "Invoice", "photo", "notes", "draft", "budget", "letter", "scan", "song", "clip"]
EXTENSIONS = ["txt", "pdf", "JPG", "doc", "mp3", "", "txt", "odt", "png", "csv"]


def generate(tree):
    marker = os.path.join(tree, ".complete")
    if os.path.exists(marker):
        return
    print(f"generating {tree} ...", file=sys.stderr)
    for top in range(TOP_FOLDERS):
        top_folder = os.path.join(tree, f"area-{top:03d}")
        folders = [top_folder] + [os.path.join(top_folder, f"set {sub:02d}") for sub in range(SUBFOLDERS)]
        for folder in folders:
            os.makedirs(folder, exist_ok=True)
            for index in range(FILES_PER_FOLDER):
                extension = EXTENSIONS[index]
                name = f"{STEMS[(index + top) % len(STEMS)]}-{index:02d}" + (f".{extension}" if extension else "")
                with open(os.path.join(folder, name), "wb") as file:
                    file.write(b"x")
    # The marker is hidden and owner-writable, so the walk leaves it out; find does not.
    with open(marker, "wb"):
        pass


def timed(command):
    start = time.perf_counter()
    completed = subprocess.run(command, shell=True, stdout=subprocess.PIPE, check=True)
    return time.perf_counter() - start, completed.stdout


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", default=os.path.join(here, "..", "..", "build", "velmora", "velmora-find"))
    parser.add_argument("--tree", default="/tmp/velmora-walk-tree")
    parser.add_argument("--runs", type=int, default=7)
    arguments = parser.parse_args()

    generate(arguments.tree)
    walk = f"'{arguments.program}' --folder '{arguments.tree}' --list-only"
    baseline = f"find '{arguments.tree}' -type f | wc -l"

    # Warm the cache and check that both see the same files.
    _, listed = timed(walk)
    _, counted = timed(baseline)
    walked_files = listed.count(b"\n")
    found_files = int(counted) - 1  # the hidden marker
    if walked_files != found_files:
        sys.exit(f"velmora-find listed {walked_files} files, find counted {found_files}")

    walk_times, baseline_times = [], []
    for _ in range(arguments.runs):
        baseline_times.append(timed(baseline)[0])
        walk_times.append(timed(walk + " > /dev/null")[0])
    walk_median = statistics.median(walk_times)
    baseline_median = statistics.median(baseline_times)
    print(f"files: {walked_files}")
    print(f"find -type f | wc -l : median {baseline_median * 1000:.0f} ms over {arguments.runs} runs")
    print(f"velmora-find --folder --list-only : median {walk_median * 1000:.0f} ms")
    print(f"ratio (velmora-find / find): {walk_median / baseline_median:.2f}")


if __name__ == "__main__":
    main()
