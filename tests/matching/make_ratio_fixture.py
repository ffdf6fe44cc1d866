#!/usr/bin/env python3
"""Writes ratio_fixture.tsv: pairs of file names with their matched-character count and
similarity ratio, worked out by an independent implementation of the same block matching
(difflib with no junk heuristics) on names upper-cased one character at a time.

Run once; the output is committed, so the tests never need Python:
    python3 tests/matching/make_ratio_fixture.py > tests/matching/ratio_fixture.tsv
"""

import difflib
import random

SEED = 20210831
PAIRS = 1500

LATIN = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
DIGITS = "0123456789"
PUNCTUATION = "._- ()[]~"
ACCENTED = "ÀÁÄÅÇÈÉÑÖØÜàáäåçèéñöøüÿ"
GREEK = "ΑΒΓΔΕΖΗΘαβγδεζηθλμπσω"
CYRILLIC = "АБВГДЕЖЗИКЛМНабвгдежзиклмн"
CJK = "文件照片音乐视频资料备份"

ALPHABETS = [
    LATIN + DIGITS + PUNCTUATION,
    "abc",  # few letters: many equal blocks, so the tie-breaks decide
    "aAbB.",
    LATIN + ACCENTED + ".",
    GREEK + DIGITS + ".",
    CYRILLIC + "_.",
    CJK + DIGITS + ".",
    LATIN + GREEK + CYRILLIC + CJK + ACCENTED + DIGITS + PUNCTUATION,
]

# Only characters whose upper case is one character that stays put, so upper-casing
# one character at a time and the whole name at once agree.
for alphabet in ALPHABETS:
    for character in alphabet:
        upper = character.upper()
        assert len(upper) == 1 and upper.upper() == upper, character


def random_name(rng, alphabet, length):
    return "".join(rng.choice(alphabet) for _ in range(length))


def mutate(rng, name, alphabet, edits):
    characters = list(name)
    for _ in range(edits):
        kind = rng.randrange(4)
        position = rng.randrange(len(characters) + 1)
        if kind == 0 or not characters:
            characters.insert(position, rng.choice(alphabet))
        elif kind == 1:
            del characters[min(position, len(characters) - 1)]
        elif kind == 2:
            characters[min(position, len(characters) - 1)] = rng.choice(alphabet)
        else:
            at = min(position, len(characters) - 1)
            characters[at] = characters[at].swapcase()
    return "".join(characters)


def pair(rng):
    alphabet = rng.choice(ALPHABETS)
    shape = rng.randrange(5)
    if shape == 0:  # unrelated names
        return (random_name(rng, alphabet, rng.randint(1, 20)),
                random_name(rng, alphabet, rng.randint(1, 20)))
    if shape == 1:  # long names
        base = random_name(rng, alphabet, rng.randint(80, 300))
        return base, mutate(rng, base, alphabet, rng.randint(1, 60))
    extension = rng.choice(["", ".txt", ".jpg", ".JPG", ".tar.gz", ".doc"])
    base = random_name(rng, alphabet, rng.randint(1, 24))
    return base + extension, mutate(rng, base, alphabet, rng.randint(1, 8)) + extension


def main():
    rng = random.Random(SEED)
    written = 0
    print("# first\tsecond\tmatched\tratio")
    while written < PAIRS:
        first, second = pair(rng)
        if first.upper() == second.upper():
            continue  # equal apart from case: the ratio is 1 without counting
        matcher = difflib.SequenceMatcher(None, first.upper(), second.upper(), autojunk=False)
        matched = sum(block.size for block in matcher.get_matching_blocks())
        ratio = matcher.ratio()
        print(f"{first}\t{second}\t{matched}\t{ratio!r}")
        written += 1


if __name__ == "__main__":
    main()
