// The path clean-up and the file-name rules against their plain, position-by-position
// descriptions, in both path styles, and the allocation-free views against the strings.
#include "FuzzInput.h"
#include "NameKeys.h"
#include "PathSeparators.h"

#include <cstddef>
#include <cstdint>

using velmora::PathStyle;
using velmora::fuzzing::FuzzInput;

namespace {

// Without a leading separator: every pair becomes one, without overlap. With one: the
// leading run becomes the style's prefix and the rest gets the same pass.
QString literalNormalize(const QString& path, PathStyle style) {
    const QChar separator(velmora::separatorOf(style));
    QString prefix;
    qsizetype k = 0;
    if (path.startsWith(separator)) {
        prefix = style == PathStyle::Windows ? QString(2, separator) : QString(separator);
        while (k < path.size() && path.at(k) == separator)
            ++k;
    }
    QString rest = path.mid(k);
    QString result;
    qsizetype i = 0;
    while (i < rest.size()) {
        if (rest.at(i) == separator && i + 1 < rest.size() && rest.at(i + 1) == separator) {
            result += separator;
            i += 2;
        } else {
            result += rest.at(i);
            ++i;
        }
    }
    return prefix + result;
}

QString literalFileName(const QString& path, PathStyle style) {
    const qsizetype last = path.lastIndexOf(QChar(velmora::separatorOf(style)));
    return last < 0 ? path : path.mid(last + 1);
}

QString literalWithoutExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 1 ? name.left(dot) : name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t settings = input.takeByte();
    const bool rawUnits = (settings & 1) != 0;
    const PathStyle style = (settings & 2) != 0 ? PathStyle::Windows : PathStyle::Posix;
    const QStringList texts = input.takeTexts(1, 4096, rawUnits);
    const QString& path = texts.front();

    const QString normalized = velmora::NormalizePathSeparators(path, style);
    VELMORA_FUZZ_EXPECT(normalized == literalNormalize(path, style), texts);
    VELMORA_FUZZ_EXPECT(normalized.size() <= path.size() + 1, texts);

    const QString name = velmora::GetFileNameFromPath(path, style);
    VELMORA_FUZZ_EXPECT(name == literalFileName(path, style), texts);
    VELMORA_FUZZ_EXPECT(velmora::fileNameView(path, style) == name, texts);
    VELMORA_FUZZ_EXPECT(!name.contains(QChar(velmora::separatorOf(style))), texts);

    const QString stem = velmora::RemoveFileExtension(name);
    VELMORA_FUZZ_EXPECT(stem == literalWithoutExtension(name), texts);
    VELMORA_FUZZ_EXPECT(velmora::withoutExtensionView(name) == stem, texts);
    VELMORA_FUZZ_EXPECT(name.startsWith(stem), texts);
    return 0;
}
