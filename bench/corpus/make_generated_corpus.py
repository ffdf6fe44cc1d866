#!/usr/bin/env python3
"""Builds the generated corpora of the similarity benchmarks, one path per line, the same
on every machine (fixed seeds):

    uuids N       photo exports named by random version-4 UUIDs, upper case, with
                  .JPG, .HEIC, .MOV or .PNG
    near-long N L N names of L characters that differ from one another in one letter
    random-long N L  N random names of L letters and digits
"""

import argparse
import random
import sys
import uuid

LETTERS = "abcdefghijklmnopqrstuvwxyz0123456789"


def uuids(rng, count):
    extensions = [".JPG", ".HEIC", ".MOV", ".PNG"]
    for _ in range(count):
        name = str(uuid.UUID(int=rng.getrandbits(128), version=4)).upper()
        yield f"/home/user/Pictures/export/{name}{rng.choice(extensions)}"


def near_long(rng, count, length):
    base = [rng.choice(LETTERS) for _ in range(length)]
    for index in range(count):
        name = list(base)
        name[rng.randrange(length)] = chr(ord("A") + index % 26)
        yield f"/tmp/long/{index}/{''.join(name)}"


def random_long(rng, count, length):
    for _ in range(count):
        yield "/tmp/random/" + "".join(rng.choice(LETTERS) for _ in range(length))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("kind", choices=["uuids", "near-long", "random-long"])
    parser.add_argument("count", type=int)
    parser.add_argument("length", type=int, nargs="?", default=5000)
    parser.add_argument("--seed", type=int, default=20210831)
    arguments = parser.parse_args()
    rng = random.Random(arguments.seed)
    if arguments.kind == "uuids":
        paths = uuids(rng, arguments.count)
    elif arguments.kind == "near-long":
        paths = near_long(rng, arguments.count, arguments.length)
    else:
        paths = random_long(rng, arguments.count, arguments.length)
    sys.stdout.write("".join(path + "\n" for path in paths))


if __name__ == "__main__":
    main()
