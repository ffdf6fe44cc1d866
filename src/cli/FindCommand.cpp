#include "FindCommand.h"

#include "BufferedTextWriter.h"
#include "ClipboardText.h"
#include "DuplicateSearch.h"
#include "FindArguments.h"
#include "FolderInput.h"
#include "LeftOutReport.h"
#include "NameBytes.h"
#include "PathListReader.h"
#include "ProperlySpacedText.h"
#include "ResultRowsList.h"

#include <QFile>

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

// The list, read piece by piece as it arrives, or nothing after telling why. A list file
// is opened by the bytes of its name, whatever they are.
std::optional<QStringList> readList(const FindArguments& found, QIODevice& input, QIODevice& errors,
                                    const std::stop_token& stop) {
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

    PathListReader reader(PathListReader::Separator::LineFeed);
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
    if (reading.invalidLine > 0) {
        say(errors,
            QStringLiteral("%1, line %2: not valid UTF-8").arg(where).arg(reading.invalidLine));
        return std::nullopt;
    }
    if (reading.tooLongLine > 0) {
        say(errors, QStringLiteral("%1, line %2: longer than %3 UTF-16 units, which no path can be")
                        .arg(where)
                        .arg(reading.tooLongLine)
                        .arg(kLongestPath));
        return std::nullopt;
    }
    return std::move(reading.paths);
}

// One line that rewrites itself, in the bar's terms: the pair stage fills the first
// half, the clean-up the second.
class TerminalProgress {
public:
    explicit TerminalProgress(QIODevice& errors) : errors_(errors) {}
    ~TerminalProgress() {
        if (shown_)
            errors_.write("\r\x1b[K");
    }

    void operator()(const SearchProgress& progress) {
        const double done = progress.stage == SearchProgress::Stage::Pairs ? 0 : 1;
        const double share =
            progress.count > 0 ? static_cast<double>(progress.position) / progress.count : 0;
        const int percent = static_cast<int>(std::floor((done + share) * 100 / 2));
        if (percent == lastPercent_)
            return;
        lastPercent_ = percent;
        shown_ = true;
        const QString line = QStringLiteral("\r\x1b[KComparing: %1% (%2 of %3)")
                                 .arg(percent)
                                 .arg(progress.position)
                                 .arg(progress.count);
        errors_.write(line.toUtf8());
    }

private:
    QIODevice& errors_;
    int lastPercent_ = -1;
    bool shown_ = false;
};

WriteOutcome writeRows(const std::vector<ResultRow>& rows, QIODevice& output) {
    BufferedTextWriter writer(output);
    for (const ResultRow& row : rows) {
        QString& line = writer.pending();
        line.append(row.checked ? QLatin1String("1\t") : QLatin1String("0\t"));
        line.append(row.path);
        line.append(QLatin1Char('\n'));
        if (!writer.written())
            break;
    }
    if (!writer.flush())
        return WriteOutcome::failure(writer.errorString());
    return WriteOutcome::success();
}

WriteOutcome writeResults(const std::vector<ResultRow>& rows, OutputFormat format,
                          QIODevice& output) {
    const ResultRowsList list(rows);
    switch (format) {
    case OutputFormat::Text:
        return writeProperlySpaced(list, output);
    case OutputFormat::Clipboard:
        return writeClipboardText(list, output);
    case OutputFormat::Rows:
        break;
    }
    return writeRows(rows, output);
}

} // namespace

int runFind(const QStringList& arguments, FindStreams streams, std::stop_token stop) {
    const FindArgumentsParsing parsing = parseFindArguments(arguments);
    if (!parsing.ok())
        return usageError(streams.errors, parsing.error);
    const FindArguments& found = parsing.arguments;
    if (found.help) {
        const QByteArray help = findHelpText().toUtf8();
        if (streams.output.write(help) != help.size()) {
            say(streams.errors,
                QStringLiteral("cannot write the help: ") + streams.output.errorString());
            return kUsageOrInputError;
        }
        return kDuplicatesFound;
    }

    LeftOutReport leftOut(found.verbose);
    // Told last, after the results, where a user who scrolls back looks first.
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
        std::optional<QStringList> read = readList(found, streams.input, streams.errors, stop);
        if (!read)
            return kUsageOrInputError;
        paths = std::move(*read);
    }
    if (stop.stop_requested())
        return kInterrupted;
    if (found.listOnly) {
        const WriteOutcome written = writePathList(paths, streams.output);
        if (!written.ok) {
            say(streams.errors, QStringLiteral("cannot write the list: ") + written.error);
            return kUsageOrInputError;
        }
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
        if (streams.errorsIsTerminal) {
            progress.emplace(streams.errors);
            hooks.progress = [&progress](const SearchProgress& reached) { (*progress)(reached); };
        }
        rows = findDuplicates(paths, found.options, found.style, hooks);
    }
    if (stop.stop_requested())
        return kInterrupted;
    paths.clear();

    const WriteOutcome written = writeResults(rows, found.format, streams.output);
    if (!written.ok) {
        say(streams.errors, QStringLiteral("cannot write the results: ") + written.error);
        return kUsageOrInputError;
    }
    if (rows.empty() && streams.errorsIsTerminal)
        say(streams.errors, QStringLiteral("No duplicate files found."));
    return tellLeftOut(rows.empty() ? kNoDuplicates : kDuplicatesFound);
}

} // namespace velmora
