#include "ListFilters.h"

namespace velmora {

namespace {

std::vector<int> collectPositions(const QStringList& paths, const QString& text,
                                  bool wantContaining) {
    const QString sought = text.toLower();
    std::vector<int> positions;
    int position = 0;
    for (const QString& path : paths) {
        ++position;
        // toLower hands back the same string, without copying, when nothing changes.
        const bool contains = path.toLower().contains(sought);
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
