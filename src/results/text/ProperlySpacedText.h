#pragma once

#include "ColumnList.h"
#include "WriteProgress.h"

#include <QIODevice>
#include <QString>

namespace velmora {

// The aligned text of a list: a header line, then one line per ticked row. Each field is
// padded with spaces to its column's width (the longest of the header and every row,
// ticked or not) and followed by a tab, the last one too; lines end in CR LF.
QString properlySpacedText(const ColumnList& list);

// The same text, as UTF-8 without a byte-order mark, to a device. With a progress
// callback it reports the steps of a save; fileName is the name those texts show.
WriteOutcome writeProperlySpaced(const ColumnList& list, QIODevice& device,
                                 const WriteProgress& progress = {}, const QString& fileName = {});

// Saves the aligned text to a file, following symbolic links. A new file, or an existing
// one with no other names in a folder the user may write, is replaced only by a complete
// new one that keeps the old one's permissions, owner and group: a failure leaves it as
// it was. A file with other names (hard links), in a folder where no new file can be
// made, or whose owner and group a new file could not keep, is emptied and written in
// place, so every name keeps the new text and the file stays whose it was. Anything that is not a
// plain file is refused untouched. A failure comes back as one error with its reason (no "Done." is
// reported then). The bar ends at 0 with "Progress Bar" either way.
WriteOutcome SaveListviewProperlySpaced(const ColumnList& list, const QString& path,
                                        const WriteProgress& progress = {});

// The text after the last "/" of a path, or the whole path when it has none.
QString fileNamePart(const QString& path);

} // namespace velmora
