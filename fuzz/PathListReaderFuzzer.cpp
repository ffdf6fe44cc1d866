// velmora-find's list reader against a plain decoder: where the first bad byte is, which
// line it is on, and, for good input, the paths line by line.
#include "FuzzInput.h"
#include "PathListReader.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

// Decodes one code point at a time from its lead byte and judges the value afterwards.
qsizetype literalFirstInvalid(const QByteArray& bytes) {
    qsizetype at = 0;
    while (at < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        int length = 0;
        char32_t value = 0;
        char32_t smallest = 0;
        if (lead < 0x80) {
            ++at;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, value = lead & 0x1F, smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, value = lead & 0x0F, smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, value = lead & 0x07, smallest = 0x10000;
        } else {
            return at;
        }
        if (at + length > bytes.size())
            return at;
        for (int index = 1; index < length; ++index) {
            const auto next = static_cast<unsigned char>(bytes[at + index]);
            if ((next & 0xC0) != 0x80)
                return at;
            value = (value << 6) | (next & 0x3F);
        }
        if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return at;
        at += length;
    }
    return -1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList shown = {QString::fromLatin1(bytes.toHex())};

    const qsizetype invalid = velmora::firstInvalidUtf8(bytes);
    VELMORA_FUZZ_EXPECT(invalid == literalFirstInvalid(bytes), shown);

    const velmora::PathListReading reading = velmora::readPathList(bytes);
    if (reading.tooLongLine > 0)
        return 0; // a line no path can be is refused before the rest is looked at
    VELMORA_FUZZ_EXPECT(reading.ok(), shown);
    if (invalid >= 0)
        VELMORA_FUZZ_EXPECT(!reading.notUtf8.isEmpty() && reading.notUtf8.first().number ==
                                                              bytes.left(invalid).count('\n') + 1,
                            shown);

    QByteArray content = bytes;
    if (content.startsWith("\xEF\xBB\xBF"))
        content.remove(0, 3);
    QList<QByteArray> lines = content.split('\n');
    // A line ending at the very end ends the last path; it does not start an empty one.
    if (content.isEmpty() || content.endsWith('\n'))
        lines.removeLast();
    // Every byte of a valid line survives the decoding, byte-order marks inside included;
    // a line that is not UTF-8 is left out whole, and its bytes are told as they were.
    qsizetype path = 0;
    qsizetype leftOut = 0;
    for (qsizetype index = 0; index < lines.size(); ++index) {
        QByteArray line = lines[index];
        if (index + 1 < lines.size() || content.endsWith('\n'))
            if (line.endsWith('\r'))
                line.chop(1);
        if (literalFirstInvalid(line) >= 0) {
            VELMORA_FUZZ_EXPECT(leftOut < reading.notUtf8.size() &&
                                    reading.notUtf8[leftOut].number == index + 1 &&
                                    reading.notUtf8[leftOut].bytes == line,
                                shown);
            ++leftOut;
            continue;
        }
        VELMORA_FUZZ_EXPECT(path < reading.paths.size() && reading.paths[path].toUtf8() == line,
                            shown);
        ++path;
    }
    VELMORA_FUZZ_EXPECT(path == reading.paths.size() && leftOut == reading.notUtf8.size(), shown);
    return 0;
}
