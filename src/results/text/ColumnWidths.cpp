#include "ColumnWidths.h"

#include <algorithm>

namespace velmora {

std::vector<qsizetype> columnWidths(const ColumnList& list, HeaderWidth header) {
    const int columns = list.columnCount();
    const int rows = list.rowCount();
    std::vector<qsizetype> widths(static_cast<std::size_t>(std::max(columns, 0)), 0);
    for (int column = 0; column < columns; ++column) {
        qsizetype width = 0;
        if (header == HeaderWidth::Counts)
            width = list.headerText(column).size();
        for (int row = 0; row < rows; ++row)
            width = std::max(width, list.field(row, column).size());
        widths[static_cast<std::size_t>(column)] = width;
    }
    return widths;
}

void appendPaddedField(QString& line, QStringView field, qsizetype width) {
    line.append(field);
    if (width > field.size())
        line.resize(line.size() + (width - field.size()), QLatin1Char(' '));
    line.append(QLatin1Char('\t'));
}

} // namespace velmora
