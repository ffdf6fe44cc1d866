#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velmora {

struct PathListReading {
    QStringList paths;
    // 0 when the whole input is valid UTF-8, else the 1-based line of the first bad byte.
    qsizetype invalidLine = 0;

    bool ok() const { return invalidLine == 0; }
};

// Splits a list of paths, one per line, encoded as UTF-8. Lines end in LF; a CR right
// before the LF belongs to the line ending; a line ending at the very end adds no empty
// path, while an empty line elsewhere is the path "". A byte-order mark at the start is
// not part of the first path.
PathListReading readPathList(const QByteArray& bytes);

// The offset of the first byte that is not part of well-formed UTF-8 (no overlong forms,
// no surrogates, nothing above U+10FFFF), or -1 when there is none.
qsizetype firstInvalidUtf8(const QByteArray& bytes);

} // namespace velmora
