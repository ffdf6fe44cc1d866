#pragma once

class QCheckBox;

namespace velmora {

// A check box's value as it is stored: 0 unticked, 1 ticked, 2 greyed (counts as off).
int checkValue(const QCheckBox& box);

// Sets the box from a stored value; anything but 0, 1 or 2 throws, and the box is left
// as it was.
void setCheckValue(QCheckBox& box, int value);

// After a click the box is two-state again: the greyed state only comes from the store.
void endGreyedState(QCheckBox& box);

} // namespace velmora
