#pragma once

#include <QPersistentModelIndex>

#include <optional>

namespace velmora {

class FileList;

// Reordering by dragging within the list: the dragged path travels with the pointer,
// exchanged step by step with the entry under it. Kept apart from the widget so the rule
// can be exercised without a display.
//
// The dragged entry is held as a persistent index, so it stays the same entry when
// earlier ones are removed, and becomes none when it is removed itself or the list is
// cleared.
class ListDrag {
public:
    explicit ListDrag(FileList& list) : list_(list) {}

    // ListDragActive: a button went down on the list and has not come up yet.
    bool active() const { return active_; }
    void press() { active_ = true; }
    // The release ends the gesture but keeps the dragged entry: the next press and move
    // carries on with the path remembered from the last click or exchange.
    void release() { active_ = false; }

    // ListDragItem, as a 1-based position.
    std::optional<int> item() const;
    void setItem(std::optional<int> position);

    // One pointer-move step with the entry under the pointer (or none). Returns the
    // position whose text was exchanged with the dragged one, which is now the dragged
    // entry and should become current; none when nothing changed.
    std::optional<int> step(std::optional<int> hitPosition);

private:
    FileList& list_;
    bool active_ = false;
    QPersistentModelIndex item_;
};

} // namespace velmora
