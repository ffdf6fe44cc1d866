#include "ListDrag.h"

#include "FileList.h"

namespace velmora {

std::optional<int> ListDrag::item() const {
    if (!item_.isValid())
        return std::nullopt;
    return item_.row() + 1;
}

void ListDrag::setItem(std::optional<int> position) {
    if (position && *position >= 1 && *position <= list_.Count())
        item_ = QPersistentModelIndex(list_.index(*position - 1, FileList::PathColumn));
    else
        item_ = QPersistentModelIndex();
}

std::optional<int> ListDrag::step(std::optional<int> hitPosition) {
    if (!active_)
        return std::nullopt;
    const std::optional<int> dragged = item();
    if (!hitPosition || !dragged)
        return std::nullopt;
    if (*hitPosition < 1 || *hitPosition > list_.Count())
        return std::nullopt;
    // Equal texts (case matters) are left alone: exchanging them would change nothing
    // visible, but would hand the drag over to a different entry.
    if (list_.Text(*hitPosition) == list_.Text(*dragged))
        return std::nullopt;
    list_.exchangeTexts(*dragged, *hitPosition);
    setItem(hitPosition);
    return hitPosition;
}

} // namespace velmora
