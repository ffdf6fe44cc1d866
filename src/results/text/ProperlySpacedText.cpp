#include "ProperlySpacedText.h"

#include "BufferedTextWriter.h"
#include "ColumnWidths.h"
#include "SaveTarget.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <vector>

namespace velmora {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Reports the save's steps when someone listens; the bar's scale ends at 100, while the
// row formula overshoots it slightly near the end of long lists.
class SaveProgress {
public:
    SaveProgress(const WriteProgress& progress, const QString& fileName)
        : progress_(progress), writingText_(QStringLiteral("Writing file: ") + fileName) {}

    bool listening() const { return static_cast<bool>(progress_); }

    void writing(double value) { report(value, writingText_); }
    void row(int row, int rowCount) {
        if (!progress_)
            return;
        const double value = (row + rowCount / 2000) / static_cast<double>(rowCount) * 100;
        if (row % 1000 == 0)
            rowText_ =
                writingText_ + QStringLiteral(" (") + QString::number(row) + QLatin1Char(')');
        report(value, rowText_.isEmpty() ? writingText_ : rowText_);
    }
    void done() { report(100, QStringLiteral("Done.")); }
    void idle() { report(0, QStringLiteral("Progress Bar")); }

private:
    void report(double value, const QString& text) {
        if (progress_)
            progress_(std::clamp(value, 0.0, 100.0), text);
    }

    const WriteProgress& progress_;
    QString writingText_;
    QString rowText_;
};

// Appends every line to the sink's pending text, handing it over after each line.
// Returns false as soon as the sink cannot take more.
template <typename Sink>
bool formatLines(const ColumnList& list, const std::vector<qsizetype>& widths, Sink& sink,
                 SaveProgress* progress) {
    const int columns = static_cast<int>(widths.size());
    QString& out = sink.pending();
    for (int column = 0; column < columns; ++column)
        appendPaddedField(out, list.headerText(column), widths[static_cast<std::size_t>(column)]);
    out.append(kCrLf);
    if (!sink.written())
        return false;
    if (progress)
        progress->writing(20);

    const int rows = list.rowCount();
    for (int row = 0; row < rows; ++row) {
        if (!list.checked(row))
            continue;
        QString& line = sink.pending();
        for (int column = 0; column < columns; ++column)
            appendPaddedField(line, list.field(row, column),
                              widths[static_cast<std::size_t>(column)]);
        line.append(kCrLf);
        if (progress)
            progress->row(row + 1, rows);
        if (!sink.written())
            return false;
    }
    return true;
}

} // namespace

QString fileNamePart(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString properlySpacedText(const ColumnList& list) {
    StringSink sink;
    formatLines(list, columnWidths(list, HeaderWidth::Counts), sink, nullptr);
    return sink.text;
}

WriteOutcome writeProperlySpaced(const ColumnList& list, QIODevice& device,
                                 const WriteProgress& progress, const QString& fileName) {
    SaveProgress steps(progress, fileName);
    steps.writing(1);
    const std::vector<qsizetype> widths = columnWidths(list, HeaderWidth::Counts);
    steps.writing(10);
    BufferedTextWriter writer(device);
    if (!formatLines(list, widths, writer, steps.listening() ? &steps : nullptr) ||
        !writer.flush()) {
        steps.idle();
        return WriteOutcome::failure(writer.errorString());
    }
    steps.done();
    steps.idle();
    return WriteOutcome::success();
}

WriteOutcome SaveListviewProperlySpaced(const ColumnList& list, const QString& path,
                                        const WriteProgress& progress) {
    SaveProgress steps(progress, fileNamePart(path));
    steps.writing(1);
    const std::vector<qsizetype> widths = columnWidths(list, HeaderWidth::Counts);
    steps.writing(10);

    const auto failed = [&](const QString& what, const QString& reason) {
        steps.idle();
        return WriteOutcome::failure(what + path + QStringLiteral(": ") + reason);
    };
    const auto written = [&](QFileDevice& file) {
        BufferedTextWriter writer(file);
        if (formatLines(list, widths, writer, steps.listening() ? &steps : nullptr) &&
            writer.flush())
            return QString();
        return writer.errorString();
    };

    const SaveTarget target = saveTargetFor(path);
    switch (target.way) {
    case SaveTarget::Way::Refuse:
        steps.idle();
        return WriteOutcome::failure(refusedSaveMessage(path));
    case SaveTarget::Way::RewriteInPlace: {
        QFile file(target.path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return failed(QStringLiteral("Cannot write "), file.errorString());
        QString error = written(file);
        if (!file.flush() && error.isEmpty())
            error = file.errorString();
        file.close();
        if (!error.isEmpty())
            return failed(QStringLiteral("Cannot write "),
                          error + QStringLiteral(" The file is incomplete."));
        break;
    }
    case SaveTarget::Way::Replace: {
        QSaveFile file(target.path);
        if (!file.open(QIODevice::WriteOnly))
            return failed(QStringLiteral("Cannot create "), file.errorString());
        // Before writing, so the text is never open to more people than the old file was;
        // again after the last write, which cleared the set-user and set-group bits.
        keepOwnerAndPermissions(file.handle(), target);
        QString error = written(file);
        if (error.isEmpty() && !file.flush())
            error = file.errorString();
        if (!error.isEmpty()) {
            file.cancelWriting();
            return failed(QStringLiteral("Cannot write "), error);
        }
        keepOwnerAndPermissions(file.handle(), target);
        if (!file.commit())
            return failed(QStringLiteral("Cannot finish writing "), file.errorString());
        break;
    }
    }
    steps.done();
    steps.idle();
    return WriteOutcome::success();
}

} // namespace velmora
