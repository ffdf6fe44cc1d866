#include "FindCommand.h"

#include "BufferedTextWriter.h"
#include "ClipboardText.h"
#include "ContentFacts.h"
#include "DuplicateSearch.h"
#include "EntryIdentity.h"
#include "FindArguments.h"
#include "FolderInput.h"
#include "LeftOutReport.h"
#include "NameBytes.h"
#include "PathListReader.h"
#include "ProperlySpacedText.h"
#include "ResultFormats.h"
#include "ResultRowsList.h"
#include "TerminalLine.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <optional>

#include <fcntl.h>

namespace velmora {

namespace {

const QString kProgram = QStringLiteral("velmora-find");

void say(QIODevice& errors, const QString& message) {
    errors.write((kProgram + QStringLiteral(": ") + message + QLatin1Char('\n')).toUtf8());
}

int usageError(QIODevice& errors, const QString& message) {
    say(errors, message + QStringLiteral(" (see --help)"));
    return kUsageOrInputError;
}

bool isStandardInput(const QString& listFile) {
    return listFile.isEmpty() || listFile == QLatin1String("-");
}

QString listName(const QString& listFile) {
    return isStandardInput(listFile)
               ? QStringLiteral("standard input")
               : QLatin1Char('\'') + escapedName(listFile) + QLatin1Char('\'');
}

// What the list is made of.
QString entryWord(const FindArguments& found) {
    return found.nulSeparated ? QStringLiteral("entry") : QStringLiteral("line");
}

// The list, read piece by piece as it arrives, or nothing after telling why. A list file
// is opened by the bytes of its name, whatever they are.
std::optional<QStringList> readList(const FindArguments& found, QIODevice& input, QIODevice& errors,
                                    LeftOutReport& leftOut, const std::stop_token& stop) {
    const QString where = listName(found.listFile);
    QFile file;
    if (!isStandardInput(found.listFile)) {
        const int descriptor =
            ::open(bytesOfArgument(found.listFile).constData(), O_RDONLY | O_CLOEXEC);
        if (descriptor < 0) {
            say(errors, QStringLiteral("cannot read %1: %2")
                            .arg(where, QString::fromLocal8Bit(std::strerror(errno))));
            return std::nullopt;
        }
        file.open(descriptor, QIODevice::ReadOnly | QIODevice::Unbuffered,
                  QFileDevice::AutoCloseHandle);
    }
    QIODevice& source = isStandardInput(found.listFile) ? input : file;

    PathListReader reader(found.nulSeparated ? PathListReader::Separator::Nul
                                             : PathListReader::Separator::LineFeed);
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 count = source.read(buffer.data(), buffer.size());
        if (count < 0) {
            // A folder, or a descriptor that is closed, opens fine and fails here.
            say(errors, QStringLiteral("cannot read %1: %2").arg(where, source.errorString()));
            return std::nullopt;
        }
        if (count == 0 || !reader.add(QByteArrayView(buffer.constData(), count)) ||
            stop.stop_requested())
            break;
    }
    PathListReading reading = reader.finish();
    if (reading.tooLongLine > 0) {
        say(errors, QStringLiteral("%1, %2 %3: longer than %4 UTF-16 units, which no path can be")
                        .arg(where, entryWord(found), QString::number(reading.tooLongLine),
                             QString::number(kLongestPath)));
        return std::nullopt;
    }
    if (reading.emptyEntry > 0) {
        say(errors, QStringLiteral("%1, entry %2: empty, which no path can be")
                        .arg(where, QString::number(reading.emptyEntry)));
        return std::nullopt;
    }
    for (const PathListReading::LeftOutLine& line : reading.notUtf8)
        leftOut.addListLine(line.number, line.bytes, entryWord(found));
    return std::move(reading.paths);
}

// The search's progress, in the bar's terms: the pair stage fills the first half, the
// clean-up the second.
class TerminalProgress {
public:
    explicit TerminalProgress(QIODevice& errors) : line_(errors) {}

    void operator()(const SearchProgress& progress) {
        const double done = progress.stage == SearchProgress::Stage::Pairs ? 0 : 1;
        const double share =
            progress.count > 0 ? static_cast<double>(progress.position) / progress.count : 0;
        const int percent = static_cast<int>(std::floor((done + share) * 100 / 2));
        if (percent == lastPercent_)
            return;
        lastPercent_ = percent;
        line_.show(QStringLiteral("Comparing: %1% (%2 of %3)")
                       .arg(percent)
                       .arg(progress.position)
                       .arg(progress.count));
    }

private:
    TerminalLine line_;
    int lastPercent_ = -1;
};

// The reading of contents, which follows the search, on the same line.
class ContentTerminalProgress {
public:
    explicit ContentTerminalProgress(QIODevice& errors) : line_(errors) {}

    void operator()(const ContentProgress& progress) {
        const bool whole = progress.stage == ContentProgress::Stage::WholeFiles;
        if (progress.filesDone == lastDone_ && whole == lastWhole_)
            return;
        lastDone_ = progress.filesDone;
        lastWhole_ = whole;
        line_.show(QStringLiteral("Reading contents: %1 %2 of %3")
                       .arg(whole ? QStringLiteral("whole files") : QStringLiteral("first blocks"))
                       .arg(progress.filesDone)
                       .arg(progress.fileCount));
    }

private:
    TerminalLine line_;
    int lastDone_ = -1;
    bool lastWhole_ = false;
};

std::vector<ContentFact> compareRowContents(const std::vector<ResultRow>& rows,
                                            const FindArguments& found, FindStreams& streams,
                                            const std::stop_token& stop) {
    std::optional<ContentTerminalProgress> progress;
    ContentHooks hooks;
    hooks.stop = stop;
    // --jobs counts threads that compare names; a disk serves only a few reads at once.
    hooks.threads = found.jobs > 0 ? std::min(found.jobs, 8) : 0;
    if (streams.errorsIsTerminal) {
        progress.emplace(streams.errors);
        hooks.progress = [&progress](const ContentProgress& reached) { (*progress)(reached); };
    }
    return compareContents(rows, hooks);
}

WriteOutcome writeResults(const std::vector<ResultRow>& rows, const FindArguments& found,
                          QIODevice& output, const std::vector<ContentFact>* content) {
    const ResultRowsList list(rows);
    const ReasonKind reason = found.options.optionMode() ? ReasonKind::Stage : ReasonKind::Ratio;
    switch (found.format) {
    case OutputFormat::Text:
        return writeProperlySpaced(list, output);
    case OutputFormat::Clipboard:
        return writeClipboardText(list, output);
    case OutputFormat::Json:
        return writeJsonLines(rows, reason, output, content);
    case OutputFormat::Csv:
        return writeCsv(rows, reason, output, content);
    case OutputFormat::Rows:
        break;
    }
    return writeRowLines(rows, output, found.nulSeparated);
}

bool holdsLineBreak(const QString& path) {
    return path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r'));
}

// A path with a line break comes out of a line format as two lines, which whoever reads
// them takes for two paths. Only rows and the list can end each path in NUL instead.
void warnOfLineBreaks(qsizetype count, bool nulHelps, QIODevice& errors) {
    if (count == 0)
        return;
    const QString paths = count == 1 ? QStringLiteral("1 path holds a line break")
                                     : QStringLiteral("%1 paths hold line breaks").arg(count);
    say(errors, paths + (nulHelps ? QStringLiteral("; use --null")
                                  : QStringLiteral("; use --format json or csv")));
}

// The paths the output writes whole on one line each; none for formats that quote
// line breaks or end each path in NUL.
qsizetype linesBrokenInResults(const std::vector<ResultRow>& rows, const FindArguments& found) {
    switch (found.format) {
    case OutputFormat::Json:
    case OutputFormat::Csv:
        return 0;
    case OutputFormat::Rows:
        if (found.nulSeparated)
            return 0;
        break;
    case OutputFormat::Text:
    case OutputFormat::Clipboard:
        break;
    }
    const bool onlyTicked = found.format == OutputFormat::Text;
    return std::count_if(rows.begin(), rows.end(), [onlyTicked](const ResultRow& row) {
        return (row.checked || !onlyTicked) && holdsLineBreak(row.path);
    });
}

int writeHelp(const QString& text, const QString& what, FindStreams& streams) {
    const QByteArray bytes = text.toUtf8();
    if (streams.output.write(bytes) != bytes.size()) {
        say(streams.errors,
            QStringLiteral("cannot write the %1: ").arg(what) + streams.output.errorString());
        return kUsageOrInputError;
    }
    return kDuplicatesFound;
}

} // namespace

int runFind(const QStringList& arguments, FindStreams streams, std::stop_token stop) {
    const FindArgumentsParsing parsing = parseFindArguments(arguments);
    if (!parsing.ok())
        return usageError(streams.errors, parsing.error);
    const FindArguments& found = parsing.arguments;
    if (found.help)
        return writeHelp(findHelpText(), QStringLiteral("help"), streams);
    if (found.version)
        return writeHelp(QStringLiteral("velmora-find " VELMORA_VERSION "\n"),
                         QStringLiteral("version"), streams);

    LeftOutReport leftOut(found.verbose);
    // Told after the results, so it is the last thing a user sees.
    const auto tellLeftOut = [&](int status) {
        for (const QString& line : leftOut.lines())
            say(streams.errors, line);
        return status;
    };

    QStringList paths;
    if (!found.folders.isEmpty()) {
        FolderWalkHooks hooks;
        hooks.stop = stop;
        hooks.leftOut = leftOut.hook();
        FolderInput walked = filesOfFolders(found.folders, found.extension, hooks);
        if (!walked.ok()) {
            say(streams.errors, walked.error);
            return kUsageOrInputError;
        }
        paths = std::move(walked.paths);
    } else {
        std::optional<QStringList> read =
            readList(found, streams.input, streams.errors, leftOut, stop);
        if (!read)
            return kUsageOrInputError;
        paths = std::move(*read);
    }
    if (stop.stop_requested())
        return kInterrupted;
    if (found.listOnly) {
        const WriteOutcome written = writePathList(paths, streams.output, found.nulSeparated);
        if (!written.ok) {
            say(streams.errors, QStringLiteral("cannot write the list: ") + written.error);
            return kUsageOrInputError;
        }
        if (!found.nulSeparated)
            warnOfLineBreaks(std::count_if(paths.cbegin(), paths.cend(), holdsLineBreak), true,
                             streams.errors);
        return tellLeftOut(kListWritten);
    }
    if (paths.isEmpty()) {
        say(streams.errors, QStringLiteral("No files added."));
        return tellLeftOut(kNoDuplicates);
    }

    std::vector<ResultRow> rows;
    {
        std::optional<TerminalProgress> progress;
        SearchHooks hooks;
        hooks.threads = found.jobs;
        hooks.stop = stop;
        // Windows-style lists name files of another machine: only their texts compare.
        if (found.style == PathStyle::Posix)
            hooks.firstPathOfSameEntry = [threads =
                                              found.jobs](const std::vector<QStringView>& paths) {
                return firstPathsOfSameEntries(paths, threads);
            };
        if (streams.errorsIsTerminal) {
            progress.emplace(streams.errors);
            hooks.progress = [&progress](const SearchProgress& reached) { (*progress)(reached); };
        }
        rows = findDuplicates(paths, found.options, found.style, hooks);
    }
    if (stop.stop_requested())
        return kInterrupted;
    paths.clear();

    std::vector<ContentFact> content;
    if (found.content) {
        content = compareRowContents(rows, found, streams, stop);
        if (stop.stop_requested())
            return kInterrupted;
    }
    const WriteOutcome written =
        writeResults(rows, found, streams.output, found.content ? &content : nullptr);
    if (!written.ok) {
        say(streams.errors, QStringLiteral("cannot write the results: ") + written.error);
        return kUsageOrInputError;
    }
    warnOfLineBreaks(linesBrokenInResults(rows, found), found.format == OutputFormat::Rows,
                     streams.errors);
    if (rows.empty() && streams.errorsIsTerminal)
        say(streams.errors, QStringLiteral("No duplicate files found."));
    return tellLeftOut(rows.empty() ? kNoDuplicates : kDuplicatesFound);
}

} // namespace velmora
