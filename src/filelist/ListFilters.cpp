#include "ListFilters.h"

#include <QStringView>

namespace velmora {

namespace {

// The text in lower case, written into `buffer`, which keeps its storage from one path to
// the next: lower-casing a million paths must not cost a million allocations. Text outside
// ASCII takes the full Unicode conversion, whose result can differ in length.
QStringView lowerCased(const QString& text, QString& buffer) {
    const qsizetype size = text.size();
    buffer.resize(size);
    QChar* out = buffer.data();
    const QChar* in = text.constData();
    for (qsizetype index = 0; index < size; ++index) {
        const char16_t code = in[index].unicode();
        if (code >= 0x80) {
            buffer = text.toLower();
            return buffer;
        }
        out[index] = QChar(code >= u'A' && code <= u'Z' ? code + (u'a' - u'A') : code);
    }
    return buffer;
}

std::vector<int> collectPositions(const QStringList& paths, const QString& text,
                                  bool wantContaining) {
    const QString sought = text.toLower();
    std::vector<int> positions;
    QString buffer;
    int position = 0;
    for (const QString& path : paths) {
        ++position;
        const bool contains = lowerCased(path, buffer).contains(sought);
        if (contains == wantContaining)
            positions.push_back(position);
    }
    return positions;
}

} // namespace

std::vector<int> positionsContaining(const QStringList& paths, const QString& text) {
    return collectPositions(paths, text, true);
}

std::vector<int> positionsNotContaining(const QStringList& paths, const QString& text) {
    return collectPositions(paths, text, false);
}

void RemoveEntriesContaining(FileList& list, const QString& text) {
    list.removePositions(positionsContaining(list.paths(), text));
}

void RemoveEntriesNotContaining(FileList& list, const QString& text) {
    list.removePositions(positionsNotContaining(list.paths(), text));
}

} // namespace velmora
