#include "SidewaysWheel.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

namespace velmora {

SidewaysWheel::SidewaysWheel(QAbstractScrollArea& area) : QObject(&area), area_(area) {
    area.viewport()->installEventFilter(this);
}

bool SidewaysWheel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    auto* wheel = static_cast<QWheelEvent*>(event);
    const QPoint delta = wheel->angleDelta();
    if (!(wheel->modifiers() & Qt::ShiftModifier) || delta.y() == 0 || delta.x() != 0)
        return QObject::eventFilter(watched, event);
    // The same turn, sideways and without Shift, which would make it a page step.
    QWheelEvent sideways(wheel->position(), wheel->globalPosition(),
                         QPoint(wheel->pixelDelta().y(), wheel->pixelDelta().x()),
                         QPoint(delta.y(), 0), wheel->buttons(),
                         wheel->modifiers() & ~Qt::ShiftModifier, wheel->phase(), wheel->inverted(),
                         wheel->source());
    QApplication::sendEvent(area_.horizontalScrollBar(), &sideways);
    return true;
}

} // namespace velmora
