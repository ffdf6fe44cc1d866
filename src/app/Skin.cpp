#include "Skin.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>

#include <stdexcept>

namespace velmora {

namespace {

void fillBackground(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

template <typename Visit> void forEachPlainControl(QWidget& window, Visit visit) {
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (qobject_cast<QGroupBox*>(child) || qobject_cast<QCheckBox*>(child) ||
            qobject_cast<QRadioButton*>(child) || qobject_cast<QLabel*>(child))
            visit(*child);
    }
}

} // namespace

void applyPlainLook(QWidget& window) {
    forEachPlainControl(window, [](QWidget& control) { fillBackground(control, Qt::white); });
}

void applySkin(QWidget& window, const QString& skinFile) {
    const QColor buttonFace = window.palette().color(QPalette::Button);
    fillBackground(window, buttonFace);
    forEachPlainControl(window, [&](QWidget& control) { fillBackground(control, buttonFace); });
    QFile file(skinFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("Path/File access error");
    window.setStyleSheet(QString::fromUtf8(file.readAll()));
}

} // namespace velmora
