#include "Skin.h"

#include "ApplyButtonFaceColors.h"
#include "ColourContrast.h"

#include <QAbstractButton>
#include <QColor>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

#include <stdexcept>

namespace velmora {

void applyPlainLook(QWidget& window) {
    fillPlainControlBackgrounds(window, Qt::white);
}

void applySkin(QWidget& window, const QString& skinFile) {
    ApplyButtonFaceColors(window);
    QFile file(skinFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("Path/File access error");
    window.setStyleSheet(QString::fromUtf8(file.readAll()));
}

void keepCaptionsReadable(QWidget& window) {
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!qobject_cast<QAbstractButton*>(control) && !qobject_cast<QGroupBox*>(control) &&
            !qobject_cast<QLabel*>(control))
            continue;
        // The style sheet sets the palette when it polishes the control.
        control->ensurePolished();
        const QPalette& palette = control->palette();
        const QColor background = palette.color(control->backgroundRole());
        const QColor text = palette.color(control->foregroundRole());
        const QColor readable = readableTextOn(background, text);
        if (readable == text)
            continue;
        control->setStyleSheet(
            control->styleSheet() +
            QStringLiteral(" %1 { color: %2; }")
                .arg(QString::fromLatin1(control->metaObject()->className()), readable.name()));
    }
}

} // namespace velmora
