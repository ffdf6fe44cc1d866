#include "FindCommand.h"

#include "BufferedTextWriter.h"
#include "ClipboardText.h"
#include "DuplicateSearch.h"
#include "FindArguments.h"
#include "FolderInput.h"
#include "PathListReader.h"
#include "ProperlySpacedText.h"
#include "ResultRowsList.h"

#include <QFile>

#include <cmath>
#include <optional>

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

// The list's bytes, or nothing after telling why.
std::optional<QByteArray> readList(const QString& listFile, QIODevice& input, QIODevice& errors) {
    const bool standardInput = listFile.isEmpty() || listFile == QLatin1String("-");
    QFile file(listFile);
    QIODevice& source = standardInput ? input : file;
    if (!standardInput && !file.open(QIODevice::ReadOnly)) {
        say(errors, QStringLiteral("cannot read '%1': %2").arg(listFile, file.errorString()));
        return std::nullopt;
    }
    QByteArray bytes = source.readAll();
    // A folder opens like a file here and only fails when read.
    if (!standardInput && file.error() != QFileDevice::NoError) {
        say(errors, QStringLiteral("cannot read '%1': %2").arg(listFile, file.errorString()));
        return std::nullopt;
    }
    return bytes;
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

int runFind(const QStringList& arguments, FindStreams streams) {
    const FindArgumentsParsing parsing = parseFindArguments(arguments);
    if (!parsing.ok())
        return usageError(streams.errors, parsing.error);
    const FindArguments& found = parsing.arguments;
    if (found.help) {
        streams.output.write(findHelpText().toUtf8());
        return kDuplicatesFound;
    }

    PathListReading reading;
    if (!found.folders.isEmpty()) {
        FolderInput walked = filesOfFolders(found.folders, found.extension);
        if (!walked.ok()) {
            say(streams.errors, walked.error);
            return kUsageOrInputError;
        }
        reading.paths = std::move(walked.paths);
    } else {
        const std::optional<QByteArray> bytes =
            readList(found.listFile, streams.input, streams.errors);
        if (!bytes)
            return kUsageOrInputError;
        reading = readPathList(*bytes);
        if (!reading.ok()) {
            const QString where = found.listFile.isEmpty() || found.listFile == QLatin1String("-")
                                      ? QStringLiteral("standard input")
                                      : QLatin1Char('\'') + found.listFile + QLatin1Char('\'');
            say(streams.errors,
                QStringLiteral("%1, line %2: not valid UTF-8").arg(where).arg(reading.invalidLine));
            return kUsageOrInputError;
        }
    }
    if (found.listOnly) {
        const WriteOutcome written = writePathList(reading.paths, streams.output);
        if (!written.ok) {
            say(streams.errors, QStringLiteral("cannot write the list: ") + written.error);
            return kUsageOrInputError;
        }
        return kListWritten;
    }

    std::vector<ResultRow> rows;
    {
        std::optional<TerminalProgress> progress;
        SearchHooks hooks;
        hooks.threads = found.jobs;
        if (streams.errorsIsTerminal) {
            progress.emplace(streams.errors);
            hooks.progress = [&progress](const SearchProgress& reached) { (*progress)(reached); };
        }
        rows = findDuplicates(reading.paths, found.options, found.style, hooks);
    }
    reading.paths.clear();

    const WriteOutcome written = writeResults(rows, found.format, streams.output);
    if (!written.ok) {
        say(streams.errors, QStringLiteral("cannot write the results: ") + written.error);
        return kUsageOrInputError;
    }
    if (rows.empty() && streams.errorsIsTerminal)
        say(streams.errors, QStringLiteral("No duplicate files found."));
    return rows.empty() ? kNoDuplicates : kDuplicatesFound;
}

} // namespace velmora
