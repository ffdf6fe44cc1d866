#pragma once

#include "PathStyle.h"
#include "SearchOptions.h"

#include <QString>
#include <QStringList>

namespace velmora {

enum class OutputFormat { Rows, Text, Clipboard, Json, Csv };

inline constexpr int kMaximumJobs = 1024;

struct FindArguments {
    SearchOptions options;
    PathStyle style = PathStyle::Posix;
    int jobs = 0; // 0: one worker per core
    OutputFormat format = OutputFormat::Rows;
    bool formatGiven = false;
    QString listFile;                        // empty or "-": standard input
    QStringList folders;                     // walked in place of reading a list
    QString extension = QStringLiteral("*"); // what "Add All File(s) In Folder" is told,
                                             // without a leading dot
    bool extensionGiven = false;
    bool listOnly = false;     // print the file list and compare nothing
    bool content = false;      // tell whether each row's file is a copy of its partner
    bool verbose = false;      // name each file and folder a walk left out
    bool nulSeparated = false; // paths end in NUL, in the list and in rows and --list-only
    bool help = false;
    bool version = false;
};

struct FindArgumentsParsing {
    FindArguments arguments;
    QString error; // one line naming the problem; empty when the arguments are fine

    bool ok() const { return error.isEmpty(); }
};

// Reads the command line, program name excluded. Options and the list file may come in
// any order; "--" ends the options, and every option that takes a value also accepts
// it as "--option=value". The last of a repeated option wins, except --folder, which
// adds one folder each time.
FindArgumentsParsing parseFindArguments(const QStringList& arguments);

} // namespace velmora
