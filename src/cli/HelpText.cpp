#include "FindCommand.h"

namespace velmora {

namespace {

constexpr char kHelp[] = R"help(Usage: velmora-find [OPTIONS] [LIST-FILE]
       velmora-find [OPTIONS] --folder DIR [--folder DIR ...] [--ext EXT]

Finds files whose names are partial duplicates of each other. It reads a list of
paths, compares the file names of every pair, and prints the files that match,
exactly as Velmora's "Start Finding" would show them. Only names are looked at:
no file's contents are read unless --content asks, and nothing is changed or
deleted.

Input
  One path per line, as UTF-8, from LIST-FILE or, when it is missing or "-",
  from standard input. Lines end in LF (a CR right before the LF is dropped);
  an empty line is the empty path. A byte-order mark is dropped only at the very
  start of the list; anywhere else it is part of a path. The paths need not
  exist. A line that is not valid UTF-8 is left out and counted at the end; a
  line longer than 32767 UTF-16 units is no path and stops the run.
    -0, --null          paths end in a NUL byte instead of a line end, as
                        find -print0 writes them: no CR is dropped, no mark
                        is dropped, an empty path is an error, and rows and
                        --list-only end each path in NUL too
  Or, with --folder, the files of folder trees, exactly as "Add All File(s) In
  Folder" loads them:
    --folder DIR        walk DIR and every folder below it, level by level, and
                        take its files; give it again for more folders, whose
                        files follow in the order given
    --ext EXT           take only files named *.EXT, ignoring case (default *:
                        every file, also names without a dot); a leading "*."
                        or "." is dropped, so *.txt and .txt are txt
  Names starting with "~", hidden files the owner may write, files that cannot
  be opened and links to folders are left out. So are folders that may not be
  read, FIFOs, sockets and devices, names that are not valid UTF-8 and files
  whose paths are longer than the system allows; at the end one line on
  standard error counts these, and the list lines left out:
    --verbose           also name each of them (a list line by its number),
                        bytes that are not UTF-8 written as \xNN

How names are compared
  With none of the three options below, two files match when their file names
  are equal, or when their paths differ and their file names are more than
  60 % alike, ignoring case.
  With at least one of them, two files match when their paths are equal, or when
  their file names become equal at one of these steps, taken in this order, each
  working on what the step before left:
    --ignore-extension  drop the last "." and what follows
                        ("a.old.txt" -> "a.old")
    --before TEXT       cut the name after the first character of the first TEXT
                        ("abc-1.txt" with "-" -> "abc-")
    --after TEXT        keep what follows the first TEXT
                        ("x_y-1.txt" with "_" -> "y-1.txt")
  TEXT is found ignoring case; names without it stay whole. An empty TEXT cuts
  nothing, yet still turns this kind of comparison on. After each step the names
  must be equal exactly, case included.

Other options
  --path-style native|windows
                      which character separates folders: "/" (native, the
                      default), or "\" for a list made on Windows
  --jobs N            use N worker threads (default: one per processor core)
  --format rows|text|clipboard|json|csv
                      rows (default): one line per file found: "1", a tab and
                        the path for a ticked file, "0" for an unticked one; LF
                        (NUL with --null)
                      text: what "Save Results As Text File" writes: a "File(s)"
                        header and the ticked files, padded with spaces, each
                        followed by a tab; CR LF
                      clipboard: what "Copy Results To Clipboard" copies: every
                        file found, one per line; CR LF
                      json: JSON Lines, one object per file found: "path",
                        "ticked" (true or false), "partner" (the file it
                        matched last) and, without the three options above,
                        "ratio" (how alike the two names are, 0 to 1), or
                        with them "stage" (the first step at which the names
                        were equal: path, extension, before or after)
                      csv: the same as RFC 4180 records (UTF-8, CR LF) under
                        the header ticked,path,partner,ratio,stage; ticked is
                        1 or 0, and ratio or stage is empty
                      A path that holds a line break cannot be one line of
                      rows, text or clipboard: it is written all the same,
                      with a warning to use --null (rows) or --format json
                      or csv (text and clipboard, even with --null).
  --content           also tell whether each file found is a byte-for-byte
                      copy of the file it matched: json gains "content" and
                      csv a last column, content: same, different, or
                      unknown (a file has gone, cannot be read or is not a
                      regular file). Needs --format json or csv. Files of
                      different sizes are not read; the others are read at
                      most once, only as far as telling them apart takes
  --list-only         print the file list, one path per line (LF, or NUL with
                      --null), and compare nothing; it cannot be combined
                      with --format
  -h, --help          show this help and exit
  --version           show the version and exit

Output
  The files found, each once, in list order of their last match. Of a group of
  files that all match one another, only the last one in the list is ticked: the
  ticked files are the later copies. A file that matched only itself is shown
  unticked: listed twice, or reached under two paths of one folder on disk (a
  link to its folder, a second mount, "//", "/./" or ".."); each hard link is a
  file of its own, and paths that do not exist compare by their text. Progress
  is shown on standard error when it is a terminal.

Exit status
  0  duplicates were found, or the list was printed (--list-only)
  1  no duplicates were found, or the list was empty ("No files added.")
  2  wrong options, the list or a folder could not be read, or the output
     could not be written (one line on standard error says why)
  130  stopped by Ctrl-C

Examples
  find ~/Music -type f | velmora-find
  velmora-find --ignore-extension --format text list.txt > results.txt
  velmora-find --folder ~/Documents --ext doc --before "-"
  find ~/Music -type f -print0 | velmora-find --null --format json
  velmora-find --format csv list.txt > results.csv
  velmora-find --folder ~/Documents --content --format json
)help";

} // namespace

QString findHelpText() {
    return QString::fromUtf8(kHelp);
}

} // namespace velmora
