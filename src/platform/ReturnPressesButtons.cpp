#include "ReturnPressesButtons.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

namespace velmora {

ReturnPressesButtons::ReturnPressesButtons(QWidget& window) : QObject(&window) {
    for (QPushButton* button : window.findChildren<QPushButton*>())
        button->installEventFilter(this);
}

bool ReturnPressesButtons::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool returnKey = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!returnKey || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    auto* button = static_cast<QPushButton*>(watched);
    // A key held down would otherwise start the action again and again, the trash's
    // question among them.
    if (!key->isAutoRepeat() && button->isEnabled())
        button->animateClick();
    return true;
}

} // namespace velmora
