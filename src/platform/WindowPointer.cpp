#include "WindowPointer.h"

#include <QPixmap>
#include <QWidget>

namespace velmora {

WindowPointer::WindowPointer(QWidget& window) : window_(window) {}

void WindowPointer::loadCustomShape(const QString& cursorFile) {
    hasCustomShape_ = loadPointerImage(cursorFile, custom_);
}

bool WindowPointer::isBusy() const {
    return window_.testAttribute(Qt::WA_SetCursor) && window_.cursor().shape() == Qt::WaitCursor;
}

void WindowPointer::setBusy() { window_.setCursor(Qt::WaitCursor); }

void WindowPointer::setDefault() { window_.unsetCursor(); }

void WindowPointer::setCustom() {
    if (hasCustomShape_)
        window_.setCursor(custom_);
    else
        window_.unsetCursor();
}

void WindowPointer::hoverButton() {
    if (!isBusy())
        setCustom();
}

void WindowPointer::hoverOther() {
    if (!isBusy())
        setDefault();
}

bool loadPointerImage(const QString& file, QCursor& cursor) {
    QPixmap image;
    if (!image.load(file))
        return false;
    // Cursor files carry their own hot spot, which Qt's image reader does not report;
    // our pointers are drawn with the hot spot at the top left.
    cursor = QCursor(image, 0, 0);
    return true;
}

} // namespace velmora
