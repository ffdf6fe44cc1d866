#include "ApplyButtonFaceColors.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QWidget>

namespace velmora {

namespace {

void paintBackground(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

bool isPlainControl(const QWidget* control) {
    return qobject_cast<const QCheckBox*>(control) || qobject_cast<const QRadioButton*>(control) ||
           qobject_cast<const QGroupBox*>(control) || qobject_cast<const QLabel*>(control);
}

} // namespace

void fillPlainControlBackgrounds(QWidget& window, const QColor& colour) {
    for (QWidget* control : window.findChildren<QWidget*>())
        if (isPlainControl(control))
            paintBackground(*control, colour);
}

void ApplyButtonFaceColors(QWidget& window) {
    // The system's colour, not the window's: a window may already carry a colour of its own.
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    paintBackground(window, buttonFace);
    fillPlainControlBackgrounds(window, buttonFace);
}

} // namespace velmora
