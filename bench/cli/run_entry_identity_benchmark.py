#!/usr/bin/env python3
"""Times velmora-find --folder on one real tree against an earlier build of it.

Builds (once) a tree of empty files whose paths are those of a corpus of real paths
(bench/corpus/make_corpus.py, 100,000 of /usr by default, so names repeat across folders
as they do on a disk), then runs the earlier and the current program on it in turns, in
similarity mode and with --ignore-extension, and prints the median wall and processor
times (and the fastest runs) and their ratios. Both must print the same rows: on one tree no file is reached
twice, so looking up which paths are one file changes nothing but the time.

    bench/cli/run_entry_identity_benchmark.py --previous OLD/velmora-find
        [--program build/velmora/velmora-find] [--tree /tmp/velmora-identity-tree]
        [--runs 11]

An earlier build: `git worktree add /tmp/velmora-previous REVISION`, then
`cmake -S /tmp/velmora-previous -B /tmp/velmora-previous/build -G Ninja
-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_WITH_TESTS=OFF -DVELMORA_WITH_BENCHMARKS=OFF`
and `cmake --build /tmp/velmora-previous/build --target velmora-find`.
"""

import argparse
import os
import resource
import statistics
import subprocess
import sys
import time


def generate(tree, count, here):
    marker = os.path.join(tree, ".complete")
    if os.path.exists(marker):
        return
    print(f"generating {tree} ...", file=sys.stderr)
    corpus = subprocess.run([os.path.join(here, "..", "corpus", "make_corpus.py"), str(count)],
                            capture_output=True, text=True, errors="surrogateescape", check=True)
    for path in corpus.stdout.split("\n"):
        if not path.startswith("/"):
            continue
        target = tree + path
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "ab"):
            pass
    # Hidden and owner-writable: the walk leaves it out.
    with open(marker, "wb"):
        pass


def timed(command):
    """Wall and processor seconds of one run, and what it printed."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    completed = subprocess.run(command, stdout=subprocess.PIPE, check=False)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    processor = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    if completed.returncode not in (0, 1):
        sys.exit(f"{' '.join(command)} ended with status {completed.returncode}")
    return wall, processor, completed.stdout


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--previous", required=True)
    parser.add_argument("--program", default=os.path.join(here, "..", "..", "build", "velmora", "velmora-find"))
    parser.add_argument("--tree", default="/tmp/velmora-identity-tree")
    parser.add_argument("--count", type=int, default=100000)
    parser.add_argument("--runs", type=int, default=11)
    arguments = parser.parse_args()

    generate(arguments.tree, arguments.count, here)
    for mode, options in (("similarity mode", []), ("--ignore-extension", ["--ignore-extension"])):
        commands = {name: [program, *options, "--folder", arguments.tree]
                    for name, program in (("previous", arguments.previous), ("current", arguments.program))}
        # Warm the cache, and check that both find the same rows.
        printed = {name: timed(command)[2] for name, command in commands.items()}
        if printed["previous"] != printed["current"]:
            sys.exit(f"{mode}: the two programs printed different rows")
        walls = {name: [] for name in commands}
        processors = {name: [] for name in commands}
        for _ in range(arguments.runs):
            for name, command in commands.items():
                wall, processor, _ = timed(command)
                walls[name].append(wall)
                processors[name].append(processor)
        rows = printed["current"].count(b"\n")
        print(f"{mode}: {rows} rows, medians of {arguments.runs} runs taken in turns")
        # The fastest run is the one least disturbed by whatever else the machine does.
        for name in commands:
            print(f"  {name:9} wall median {statistics.median(walls[name]) * 1000:7.1f} ms,"
                  f" fastest {min(walls[name]) * 1000:7.1f} ms;"
                  f" processor median {statistics.median(processors[name]) * 1000:7.1f} ms")
        print(f"  current / previous: wall median "
              f"{statistics.median(walls['current']) / statistics.median(walls['previous']):.3f},"
              f" fastest {min(walls['current']) / min(walls['previous']):.3f}; processor median "
              f"{statistics.median(processors['current']) / statistics.median(processors['previous']):.3f}")


if __name__ == "__main__":
    main()
