#include "WindowPlacement.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace velmora {

void centreOnPointerScreen(QWidget& window) {
    const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = window.frameGeometry().size();
    // A window larger than the screen keeps its title bar on it.
    window.move(std::max(area.left(), area.left() + (area.width() - size.width()) / 2),
                std::max(area.top(), area.top() + (area.height() - size.height()) / 2));
}

void placeWhere(QWidget& window, const QWidget& other) {
    window.setGeometry(QRect(other.geometry().topLeft(), window.size()));
}

} // namespace velmora
