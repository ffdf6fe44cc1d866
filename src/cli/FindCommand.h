#pragma once

#include <QIODevice>
#include <QStringList>

#include <stop_token>

namespace velmora {

enum FindExitStatus {
    kDuplicatesFound = 0,
    kListWritten = 0, // --list-only
    kNoDuplicates = 1,
    kUsageOrInputError = 2,
    kInterrupted = 130, // as a shell reports a program ended by Ctrl-C
};

struct FindStreams {
    QIODevice& input;  // read when no list file is named
    QIODevice& output; // the results
    QIODevice& errors; // messages, and progress when it is a terminal
    bool errorsIsTerminal = false;
};

// The whole of velmora-find, program name excluded from the arguments; returns the
// exit status. Arguments that are not valid UTF-8 carry their bytes as NameBytes.h
// describes. A requested stop ends the run with kInterrupted and prints no results.
int runFind(const QStringList& arguments, FindStreams streams, std::stop_token stop = {});

// What --help prints.
QString findHelpText();

} // namespace velmora
