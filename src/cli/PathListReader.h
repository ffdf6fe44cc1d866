#pragma once

#include "Utf8Text.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace velmora {

// No path on any supported system is longer; a longer line is not a path, and refusing
// it at once keeps endless input such as /dev/zero from filling the memory.
inline constexpr qsizetype kLongestPath = 32767; // UTF-16 units

struct PathListReading {
    QStringList paths;
    // Lines holding a byte that is not part of valid UTF-8: no path can be held as text
    // unchanged from them, so they are left out, as the folder walk leaves out such names.
    struct LeftOutLine {
        qsizetype number; // 1-based
        QByteArray bytes;

        bool operator==(const LeftOutLine&) const = default;
    };
    QList<LeftOutLine> notUtf8;
    // The 1-based line of the problem that ended the reading, 0 when there is none: a line
    // longer than kLongestPath, or an empty NUL-separated entry (no program that separates
    // paths by NUL writes one).
    qsizetype tooLongLine = 0;
    qsizetype emptyEntry = 0;

    bool ok() const { return tooLongLine == 0 && emptyEntry == 0; }
};

// Splits a list of paths encoded as UTF-8, taken piece by piece as it arrives.
// With LF separators, a CR right before the LF belongs to the line ending, and a
// byte-order mark at the very start of the list is not part of the first path. With NUL
// separators every byte between two NULs is the path, and none may be empty. Either way a
// separator at the very end adds no empty path, while an empty line elsewhere is the
// path "".
class PathListReader {
public:
    enum class Separator { LineFeed, Nul };
    explicit PathListReader(Separator separator = Separator::LineFeed);

    // False once a problem was found; the rest of the input is then not looked at.
    bool add(QByteArrayView bytes);
    PathListReading finish();

private:
    // `ended`: a separator followed the line.
    bool line(QByteArrayView bytes, bool ended);

    char separator_;
    QByteArray pending_; // the start of a line whose end has not arrived
    PathListReading reading_;
    qsizetype lines_ = 0;
};

// The whole list at once.
PathListReading
readPathList(QByteArrayView bytes,
             PathListReader::Separator separator = PathListReader::Separator::LineFeed);

} // namespace velmora
