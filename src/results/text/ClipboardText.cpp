#include "ClipboardText.h"

#include "BufferedTextWriter.h"
#include "ColumnWidths.h"

#include <vector>

namespace velmora {

namespace {

// The last field gets neither filler nor tab. Cutting the padded line back and trimming
// its trailing blanks would give the same text, except that it would also eat blanks
// that belong to the last field: a file name may end in a blank here, and the copied
// path must still name that file.
template <typename Sink> bool formatLines(const ColumnList& list, Sink& sink) {
    const int rows = list.rowCount();
    if (rows <= 0)
        return true;
    const std::vector<qsizetype> widths = columnWidths(list, HeaderWidth::Ignored);
    const int columns = static_cast<int>(widths.size());
    for (int row = 0; row < rows; ++row) {
        QString& line = sink.pending();
        for (int column = 0; column + 1 < columns; ++column)
            appendPaddedField(line, list.field(row, column),
                              widths[static_cast<std::size_t>(column)]);
        if (columns > 0)
            line.append(list.field(row, columns - 1));
        line.append(QLatin1String("\r\n"));
        if (!sink.written())
            return false;
    }
    return true;
}

} // namespace

QString clipboardText(const ColumnList& list) {
    StringSink sink;
    formatLines(list, sink);
    return sink.text;
}

WriteOutcome writeClipboardText(const ColumnList& list, QIODevice& device) {
    BufferedTextWriter writer(device);
    if (!formatLines(list, writer) || !writer.flush())
        return WriteOutcome::failure(writer.errorString());
    return WriteOutcome::success();
}

} // namespace velmora
