#include "PathListReader.h"

#include <cstring>

namespace velmora {

namespace {

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

// A UTF-16 unit takes at most three bytes of UTF-8, so a line with more bytes than this
// is too long before its end is seen.
constexpr qsizetype kLongestPathBytes = 3 * kLongestPath;

} // namespace

PathListReader::PathListReader(Separator separator)
    : separator_(separator == Separator::Nul ? '\0' : '\n') {}

bool PathListReader::add(QByteArrayView bytes) {
    if (!reading_.ok())
        return false;
    const char* data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    while (start < size) {
        const auto* found =
            static_cast<const char*>(std::memchr(data + start, separator_, size - start));
        if (!found) {
            if (pending_.size() + size - start > kLongestPathBytes) {
                reading_.tooLongLine = lines_ + 1;
                return false;
            }
            pending_.append(data + start, size - start);
            return true;
        }
        const qsizetype end = found - data;
        bool fine = true;
        if (pending_.isEmpty()) {
            fine = line(QByteArrayView(data + start, end - start), true);
        } else {
            pending_.append(data + start, end - start);
            fine = line(pending_, true);
            pending_.clear();
        }
        if (!fine)
            return false;
        start = end + 1;
    }
    return true;
}

PathListReading PathListReader::finish() {
    if (reading_.ok() && !pending_.isEmpty())
        line(pending_, false);
    pending_.clear();
    if (!reading_.ok()) {
        reading_.paths.clear(); // the part before the problem is no list to act on
        reading_.notUtf8.clear();
    }
    return std::move(reading_);
}

bool PathListReader::line(QByteArrayView bytes, bool ended) {
    ++lines_;
    if (separator_ == '\n') {
        if (lines_ == 1 && bytes.startsWith(kByteOrderMark)) {
            bytes = bytes.sliced(kByteOrderMark.size());
            // A list that is only the mark holds no path, not one empty path.
            if (!ended && bytes.isEmpty())
                return true;
        }
        // Only a CR that a LF follows is part of the line end.
        if (ended && bytes.endsWith('\r'))
            bytes.chop(1);
    }
    if (separator_ == '\0' && bytes.isEmpty()) {
        reading_.emptyEntry = lines_;
        return false;
    }
    if (firstInvalidUtf8(bytes) >= 0) {
        reading_.notUtf8.append({lines_, bytes.toByteArray()});
        return true;
    }
    QString path = decodedUtf8(bytes);
    if (path.size() > kLongestPath) {
        reading_.tooLongLine = lines_;
        return false;
    }
    reading_.paths.append(std::move(path));
    return true;
}

PathListReading readPathList(QByteArrayView bytes, PathListReader::Separator separator) {
    PathListReader reader(separator);
    reader.add(bytes);
    return reader.finish();
}

} // namespace velmora
