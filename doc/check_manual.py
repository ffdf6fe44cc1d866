#!/usr/bin/env python3
"""Fails when the manual page and `velmora-find --help` have drifted apart.

The help text is the one the program really answers with, so it is taken from the built
program; the manual must name the same options, the same output formats and exit
statuses, and the version being built.
"""
import re
import subprocess
import sys


def options_in(text):
    return set(re.findall(r"(?<![\w-])--[a-z][a-z-]*[a-z]", text))


def manual_text(source):
    # Only the escapes the page uses: hyphens, fixed blanks, font changes and the backslash.
    text = source.replace("\\-", "-").replace("\\e", "\\").replace("\\ ", " ")
    return re.sub(r"\\f[BIRP]", "", text)


def main():
    program, manual_path, version = sys.argv[1:4]
    run = subprocess.run([program, "--help"], capture_output=True, text=True, check=False)
    problems = []
    if run.returncode != 0:
        problems.append(f"--help exits with {run.returncode}")
    help_text = run.stdout
    with open(manual_path, encoding="utf-8") as manual_file:
        manual = manual_text(manual_file.read())

    only_in_help = options_in(help_text) - options_in(manual)
    only_in_manual = options_in(manual) - options_in(help_text)
    if only_in_help:
        problems.append("options missing from the manual: " + ", ".join(sorted(only_in_help)))
    if only_in_manual:
        problems.append("options the program does not know: " + ", ".join(sorted(only_in_manual)))

    for word in ("rows", "text", "clipboard", "json", "csv", "native", "windows", "60 %"):
        if word in help_text and word not in manual:
            problems.append(f'the manual never mentions "{word}"')
    for status in re.findall(r"^  ([0-9]+)  ", help_text, re.MULTILINE):
        if not re.search(rf"^\.B {status}$", manual, re.MULTILINE):
            problems.append(f"exit status {status} is not described")

    title = re.search(r'^\.TH .*"Velmora ([^"]+)"', manual, re.MULTILINE)
    if not title or title.group(1) != version:
        problems.append(f"the manual's title line does not say version {version}")

    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
