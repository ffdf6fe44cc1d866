#include "PathSeparators.h"

namespace velmora {

namespace {

// One pass without overlap: a pair is consumed whole, so "\\\" leaves "\\".
void appendWithPairsCollapsed(QString& out, QStringView text, QChar separator) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        out.append(text[i]);
        if (text[i] == separator && i + 1 < text.size() && text[i + 1] == separator)
            ++i;
    }
}

} // namespace

QString NormalizePathSeparators(const QString& path, PathStyle style) {
    const QChar separator(separatorOf(style));
    QString out;
    out.reserve(path.size());
    QStringView rest(path);
    if (!path.isEmpty() && path.front() == separator) {
        qsizetype firstOther = 0;
        while (firstOther < path.size() && path[firstOther] == separator)
            ++firstOther;
        out.append(separator);
        if (style == PathStyle::Windows)
            out.append(separator);
        rest = rest.mid(firstOther);
    }
    appendWithPairsCollapsed(out, rest, separator);
    return out;
}

} // namespace velmora
