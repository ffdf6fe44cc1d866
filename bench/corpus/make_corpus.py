#!/usr/bin/env python3
"""Builds a corpus of real file paths for the search benchmarks, one path per line.

The paths come from `find ROOT -type f` (default /usr), sorted so that the same machine
gives the same corpus, and sampled with a fixed seed. When more paths are asked for than
the tree holds, the extra ones pair a real folder with a real file name, so the corpus
keeps the shape of real names without repeating whole paths.

    bench/corpus/make_corpus.py 100000 > /tmp/names-100k.txt
    bench/corpus/make_corpus.py 1000000 --seed 7 > /tmp/paths-1m.txt
"""

import argparse
import os
import random
import subprocess
import sys


def real_paths(root):
    found = subprocess.run(["find", root, "-type", "f"], capture_output=True, text=True,
                           errors="surrogateescape", check=False)
    paths = [line for line in found.stdout.split("\n") if line]
    paths.sort()
    return paths


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("count", type=int, help="number of paths to write")
    parser.add_argument("--seed", type=int, default=20210831)
    parser.add_argument("--root", default="/usr")
    arguments = parser.parse_args()

    paths = real_paths(arguments.root)
    if not paths:
        sys.exit(f"no files under {arguments.root}")
    rng = random.Random(arguments.seed)
    if arguments.count <= len(paths):
        chosen = rng.sample(paths, arguments.count)
    else:
        chosen = list(paths)
        rng.shuffle(chosen)
        folders = sorted({os.path.dirname(path) for path in paths})
        names = [os.path.basename(path) for path in paths]
        while len(chosen) < arguments.count:
            chosen.append(rng.choice(folders) + "/" + rng.choice(names))
    out = sys.stdout.buffer
    for path in chosen:
        out.write(path.encode("utf-8", "surrogateescape") + b"\n")


if __name__ == "__main__":
    main()
