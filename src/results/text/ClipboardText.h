#pragma once

#include "ColumnList.h"
#include "WriteProgress.h"

#include <QIODevice>
#include <QString>

namespace velmora {

// The text the results put on the clipboard: one line per row, ticked or not, no header.
// Fields are padded to their column's width (the longest field of the column; headers do
// not count) and separated by a tab; the last field stands alone, so nothing trails it but
// CR LF. Empty for a list without rows.
QString clipboardText(const ColumnList& list);

// The same text, as UTF-8, to a device.
WriteOutcome writeClipboardText(const ColumnList& list, QIODevice& device);

} // namespace velmora
