#include "Utf8Text.h"

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

} // namespace

qsizetype firstInvalidUtf8(QByteArrayView bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
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

QString decodedUtf8(QByteArrayView bytes) {
    qsizetype marks = 0;
    while (bytes.sliced(marks * 3).startsWith(kByteOrderMark))
        ++marks;
    if (marks == 0)
        return QString::fromUtf8(bytes);
    return QString(marks, QChar(0xFEFF)) + QString::fromUtf8(bytes.sliced(marks * 3));
}

} // namespace velmora
