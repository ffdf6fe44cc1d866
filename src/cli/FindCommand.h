#pragma once

#include <QIODevice>
#include <QStringList>

namespace velmora {

enum FindExitStatus {
    kDuplicatesFound = 0,
    kListWritten = 0, // --list-only
    kNoDuplicates = 1,
    kUsageOrInputError = 2,
};

struct FindStreams {
    QIODevice& input;  // read when no list file is named
    QIODevice& output; // the results
    QIODevice& errors; // messages, and progress when it is a terminal
    bool errorsIsTerminal = false;
};

// The whole of velmora-find, program name excluded from the arguments; returns the
// exit status.
int runFind(const QStringList& arguments, FindStreams streams);

// What --help prints.
QString findHelpText();

} // namespace velmora
