#!/usr/bin/env python3
"""velmora-find in pipelines, checked with tools of its own: find, sort and Python's json
and csv modules, on a real tree whose names hold line breaks, commas, quotes and tabs.

    pipelines_test.py PATH-TO-VELMORA-FIND PATH-TO-ITS-BASH-COMPLETION
"""
import csv
import io
import json
import os
import re
import subprocess
import sys
import tempfile
import unittest

PROGRAM = ""
COMPLETION = ""
NAMES = ["plain.txt", "line\nbreak.txt", 'comma, "quote".txt', "\u00fc \u65e5.txt", "tab\tname.txt"]


def run(arguments, given=b""):
    return subprocess.run([PROGRAM, *arguments], input=given, capture_output=True, timeout=120,
                          check=False)


def sorted_nul(records):
    return subprocess.run(["sort", "-z"], input=records, capture_output=True, check=True).stdout


class Pipelines(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.root = self.folder.name
        for sub in ("a", "b/c"):
            os.makedirs(os.path.join(self.root, sub))
            for name in NAMES:
                with open(os.path.join(self.root, sub, name), "w", encoding="utf-8") as file:
                    file.write("x")

    def tearDown(self):
        self.folder.cleanup()

    def find(self, *tests):
        return subprocess.run(["find", self.root, *tests, "-print0"], capture_output=True,
                              check=True).stdout

    def test_a_nul_list_comes_back_as_it_went_in(self):
        listed = self.find()
        echoed = run(["--null", "--list-only"], listed)
        self.assertEqual((echoed.returncode, echoed.stderr), (0, b""))
        self.assertEqual(echoed.stdout, listed)

    def test_the_walk_lists_what_find_lists(self):
        walked = run(["-0", "--folder", self.root, "--list-only"])
        self.assertEqual((walked.returncode, walked.stderr), (0, b""))
        self.assertEqual(sorted_nul(walked.stdout), sorted_nul(self.find("-type", "f")))

        lines = run(["--folder", self.root, "--list-only"])
        self.assertEqual(lines.stderr, b"velmora-find: 2 paths hold line breaks; use --null\n")

    def test_json_and_csv_read_back_as_the_rows(self):
        listed = self.find("-type", "f")
        for mode, reason in (([], "ratio"), (["--ignore-extension"], "stage")):
            rows = run(["--null", *mode], listed)
            self.assertEqual(rows.returncode, 0, rows.stderr)
            expected = [(row[:1] == b"1", row[2:].decode()) for row in rows.stdout.split(b"\0")[:-1]]
            self.assertTrue(expected, mode)

            lines = run(["--null", "--format", "json", *mode], listed)
            self.assertEqual((lines.returncode, lines.stderr), (0, b""))
            text = lines.stdout.decode()
            self.assertTrue(text.endswith("\n"))
            objects = [json.loads(line) for line in text.split("\n")[:-1]]
            self.assertEqual([(row["ticked"], row["path"]) for row in objects], expected)
            for row in objects:
                self.assertEqual(set(row), {"path", "ticked", "partner", reason})
                self.assertIsInstance(row["partner"], str)
                if reason == "ratio":
                    self.assertIsInstance(row["ratio"], (int, float))

            table = run(["--format", "csv", *mode, "-0"], listed)
            self.assertEqual((table.returncode, table.stderr), (0, b""))
            records = list(csv.reader(io.StringIO(table.stdout.decode(), newline="")))
            self.assertEqual(records[0], ["ticked", "path", "partner", "ratio", "stage"])
            self.assertEqual([(record[0] == "1", record[1]) for record in records[1:]], expected)
            empty = 4 if reason == "ratio" else 3
            self.assertTrue(all(len(record) == 5 and record[empty] == "" for record in records[1:]))


class Completion(unittest.TestCase):
    def complete(self, *words):
        script = f'source "$1"; COMP_WORDS=({" ".join(map(repr, words))}); ' \
                 'COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _velmora_find; printf "%s\\n" "${COMPREPLY[@]}"'
        done = subprocess.run(["bash", "-c", script, "bash", COMPLETION], capture_output=True,
                              text=True, check=True)
        return sorted(filter(None, done.stdout.split("\n")))

    def test_every_option_and_value_is_offered(self):
        help_text = run(["--help"]).stdout.decode()
        options = set(re.findall(r"(?<![\w-])--[a-z][a-z-]*[a-z]", help_text))
        self.assertEqual(set(self.complete("velmora-find", "--")), options)
        self.assertEqual(self.complete("velmora-find", "--format", ""),
                         ["clipboard", "csv", "json", "rows", "text"])
        self.assertEqual(self.complete("velmora-find", "--path-style", "=", ""), ["native", "windows"])
        self.assertEqual(self.complete("velmora-find", "--format=j"), ["--format=json"])
        # The two that cannot go together are not offered together.
        self.assertEqual(self.complete("velmora-find", "--list-only", "--f"), ["--folder"])
        self.assertEqual(self.complete("velmora-find", "--format", "csv", "--l"), [])


if __name__ == "__main__":
    PROGRAM = sys.argv.pop(1)
    COMPLETION = sys.argv.pop(1)
    unittest.main()
