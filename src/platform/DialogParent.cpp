#include "DialogParent.h"

#include <QApplication>
#include <QWidget>

namespace velmora {

namespace {

bool isOnScreenWindow(const QWidget* widget) {
    if (!widget || !widget->isVisible())
        return false;
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

} // namespace

QWidget* dialogParent() {
    // A dialog still open asks for its own follow-up boxes.
    if (QWidget* modal = QApplication::activeModalWidget(); isOnScreenWindow(modal))
        return modal;
    if (QWidget* active = QApplication::activeWindow(); isOnScreenWindow(active))
        return active;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->windowType() == Qt::Window && isOnScreenWindow(window))
            return window;
    return nullptr;
}

} // namespace velmora
