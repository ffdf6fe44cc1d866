#!/usr/bin/env python3
"""Builds the generated corpora of the similarity benchmarks, one path per line, the same
on every machine (fixed seeds):

    uuids N       photo exports named by random version-4 UUIDs, upper case, with
                  .JPG, .HEIC, .MOV or .PNG
    near-long N L N names of L characters that differ from one another in one letter
    random-long N L  N random names of L letters and digits
    music N       a music library: "Artist - Album - 07 - Title (Remastered 2011).flac"
                  in "Artist/Album (Year)/" folders, in the order a folder walk lists them
    documents N   long document names of common words ("meeting notes project final
                  draft ... v3.docx"), grouped by folder
--shuffle shuffles the list (with the same seed), for the twin of a sorted one.
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


WORDS = (
    "the love night heart time life day world light dream dance fire rain blue gold road "
    "home song moon summer girl baby river city star sun wild heaven away again never down "
    "black white red morning angel shadow ocean storm winter little sweet lonely electric "
    "dark highway crazy forever beautiful broken tonight stay young free alive magic rock "
    "midnight golden silver paradise empty hollow burning falling rising running waiting"
).split()

DOCUMENT_WORDS = (
    "meeting notes project final draft report budget review plan quarterly annual summary "
    "client proposal contract invoice minutes agenda presentation team sales marketing "
    "strategy update status weekly monthly research analysis design requirements overview "
    "customer feedback survey results internal external policy guidelines training schedule "
    "roadmap release product launch partner agreement revised approved signed copy "
    "department finance legal operations hiring onboarding template version board"
).split()


def phrase(rng, words, shortest, longest):
    return " ".join(rng.choice(words) for _ in range(rng.randint(shortest, longest))).title()


def music(rng, count):
    produced = 0
    while produced < count:
        artist = phrase(rng, WORDS, 1, 3)
        for _ in range(rng.randint(1, 6)):
            album = phrase(rng, WORDS, 1, 4)
            year = rng.randint(1965, 2024)
            remaster = rng.random() < 0.4
            remaster_year = rng.randint(max(year + 1, 1995), 2025)
            for track in range(1, rng.randint(8, 16) + 1):
                title = phrase(rng, WORDS, 1, 6)
                suffix = f" (Remastered {remaster_year})" if remaster else ""
                name = f"{artist} - {album} - {track:02d} - {title}{suffix}.flac"
                yield f"/home/user/Music/{artist}/{album} ({year})/{name}"
                produced += 1
                if produced == count:
                    return


def documents(rng, count):
    extensions = [".docx", ".pdf", ".xlsx", ".odt", ".pptx"]
    produced = 0
    while produced < count:
        folder = phrase(rng, DOCUMENT_WORDS, 1, 2).replace(" ", "_")
        for _ in range(rng.randint(5, 60)):
            words = [rng.choice(DOCUMENT_WORDS) for _ in range(rng.randint(6, 11))]
            separator = rng.choice([" ", "_", "-"])
            name = separator.join(words)
            if rng.random() < 0.5:
                name += f"{separator}v{rng.randint(1, 9)}"
            yield f"/home/user/Documents/{folder}/{name}{rng.choice(extensions)}"
            produced += 1
            if produced == count:
                return


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("kind", choices=["uuids", "near-long", "random-long", "music", "documents"])
    parser.add_argument("count", type=int)
    parser.add_argument("length", type=int, nargs="?", default=5000)
    parser.add_argument("--seed", type=int, default=20210831)
    parser.add_argument("--shuffle", action="store_true")
    arguments = parser.parse_args()
    rng = random.Random(arguments.seed)
    if arguments.kind == "uuids":
        paths = uuids(rng, arguments.count)
    elif arguments.kind == "near-long":
        paths = near_long(rng, arguments.count, arguments.length)
    elif arguments.kind == "random-long":
        paths = random_long(rng, arguments.count, arguments.length)
    elif arguments.kind == "music":
        paths = music(rng, arguments.count)
    else:
        paths = documents(rng, arguments.count)
    paths = list(paths)
    if arguments.shuffle:
        rng.shuffle(paths)
    sys.stdout.write("".join(path + "\n" for path in paths))


if __name__ == "__main__":
    main()
