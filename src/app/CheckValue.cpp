#include "CheckValue.h"

#include <QCheckBox>

#include <stdexcept>

namespace velmora {

int checkValue(const QCheckBox& box) {
    switch (box.checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void setCheckValue(QCheckBox& box, int value) {
    switch (value) {
    case 0:
    case 1:
        box.setTristate(false);
        box.setCheckState(value == 1 ? Qt::Checked : Qt::Unchecked);
        return;
    case 2:
        box.setTristate(true);
        box.setCheckState(Qt::PartiallyChecked);
        return;
    default:
        throw std::runtime_error("Invalid property value");
    }
}

void endGreyedState(QCheckBox& box) {
    if (box.checkState() != Qt::PartiallyChecked)
        box.setTristate(false);
}

} // namespace velmora
