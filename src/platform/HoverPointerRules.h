#pragma once

#include <QHash>
#include <QObject>

class QWidget;

namespace velmora {

class WindowPointer;

// Applies a window's hover rules from the pointer-move notifications of its controls:
// over a push button the hand, over the other registered controls the default, and
// neither while the window is busy. Controls that are not registered change nothing.
class HoverPointerRules : public QObject {
public:
    enum class Role { Button, Other };

    explicit HoverPointerRules(WindowPointer& pointer, QObject* parent = nullptr);

    void watch(QWidget* control, Role role);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowPointer& pointer_;
    QHash<QObject*, Role> roles_;
};

} // namespace velmora
