#include "PathListReader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace velmora {

namespace {

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed sequence that starts at data[0], or 0.
int sequenceLength(const unsigned char* data, qsizetype available) {
    const unsigned char lead = data[0];
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // overlong below U+0800
        if (lead == 0xED)
            high = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90; // overlong below U+10000
        if (lead == 0xF4)
            high = 0x8F; // above U+10FFFF
    } else {
        return 0;
    }
    if (available < length || data[1] < low || data[1] > high)
        return 0;
    for (int index = 2; index < length; ++index)
        if (!isContinuation(data[index]))
            return 0;
    return length;
}

// QString::fromUtf8 drops a byte-order mark at the start of what it is given; inside the
// list such a mark is a character of the path and must stay.
QString decodedLine(QByteArrayView line) {
    qsizetype marks = 0;
    while (line.sliced(marks * 3).startsWith(kByteOrderMark))
        ++marks;
    if (marks == 0)
        return QString::fromUtf8(line);
    return QString(marks, QChar(0xFEFF)) + QString::fromUtf8(line.sliced(marks * 3));
}

} // namespace

qsizetype firstInvalidUtf8(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype at = 0;
    while (at < size) {
        // Lists are mostly ASCII: skip eight plain bytes at a time.
        if (size - at >= 8) {
            std::uint64_t word;
            std::memcpy(&word, data + at, sizeof word);
            if ((word & 0x8080808080808080ULL) == 0) {
                at += 8;
                continue;
            }
        }
        if (data[at] < 0x80) {
            ++at;
            continue;
        }
        const int length = sequenceLength(data + at, size - at);
        if (length == 0)
            return at;
        at += length;
    }
    return -1;
}

PathListReading readPathList(const QByteArray& bytes) {
    PathListReading reading;
    const qsizetype invalid = firstInvalidUtf8(bytes);
    if (invalid >= 0) {
        reading.invalidLine =
            std::count(bytes.constBegin(), bytes.constBegin() + invalid, '\n') + 1;
        return reading;
    }
    QByteArrayView content(bytes);
    if (content.startsWith(kByteOrderMark))
        content = content.sliced(3);

    // Each line is decoded on its own, straight from the bytes: a list of a million
    // paths then needs no second, decoded copy of the whole input.
    const char* data = content.data();
    const qsizetype size = content.size();
    reading.paths.reserve(std::count(data, data + size, '\n') + 1);
    qsizetype start = 0;
    while (start < size) {
        const auto* newline =
            static_cast<const char*>(std::memchr(data + start, '\n', size - start));
        const qsizetype end = newline ? newline - data : size;
        qsizetype lineEnd = end;
        if (newline && lineEnd > start && data[lineEnd - 1] == '\r')
            --lineEnd;
        reading.paths.append(decodedLine(QByteArrayView(data + start, lineEnd - start)));
        start = end + 1;
    }
    return reading;
}

} // namespace velmora
