#pragma once

#include "ColumnList.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace velmora {

enum class HeaderWidth { Counts, Ignored };

// One width per column: the longest field of that column over every row, ticked or not,
// and the header text too when it counts. Lengths are in 16-bit units.
std::vector<qsizetype> columnWidths(const ColumnList& list, HeaderWidth header);

// Appends the field, spaces up to the width, and a tab. A field longer than its width
// gets no filler; it is never cut.
void appendPaddedField(QString& line, QStringView field, qsizetype width);

} // namespace velmora
