#include "ApplyButtonFaceColors.h"

#include "ColourContrast.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QWidget>

namespace velmora {

namespace {

// The captions on the colour keep the palette's text colour only while it reads well
// there: a dark palette's light text would vanish on the plain look's white.
void paintBackground(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::WindowText,
                         readableTextOn(colour, palette.color(group, QPalette::WindowText)));
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
