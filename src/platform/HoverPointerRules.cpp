#include "HoverPointerRules.h"

#include "WindowPointer.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace velmora {

HoverPointerRules::HoverPointerRules(WindowPointer& pointer, QObject* parent)
    : QObject(parent), pointer_(pointer) {}

void HoverPointerRules::watch(QWidget* control, Role role) {
    roles_.insert(control, role);
    control->setMouseTracking(true); // moves without a pressed button are what we need
    control->installEventFilter(this);
    connect(control, &QObject::destroyed, this, [this](QObject* gone) { roles_.remove(gone); });
}

bool HoverPointerRules::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseMove && event->type() != QEvent::Enter)
        return false;
    const auto role = roles_.constFind(watched);
    if (role == roles_.constEnd())
        return false;
    if (event->type() == QEvent::MouseMove) {
        // A move a child ignored is passed on to its parent; it belongs to the child.
        const auto* move = static_cast<QMouseEvent*>(event);
        const auto* widget = static_cast<QWidget*>(watched);
        if (widget->childAt(move->position().toPoint()) != nullptr)
            return false;
    }
    if (*role == Role::Button)
        pointer_.hoverButton();
    else
        pointer_.hoverOther();
    return false;
}

} // namespace velmora
