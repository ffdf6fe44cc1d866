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
        // The style sheet sets the background when it polishes the control; the text keeps
        // the palette's colour unless the sheet gives one.
        control->ensurePolished();
        QPalette palette = control->palette();
        // The active colours, whatever state the control is in now: a text box disabled
        // at start-up would otherwise be judged by its greyed text and get a colour that
        // only shows, and may not read, once it is enabled.
        const QColor background = palette.color(QPalette::Active, control->backgroundRole());
        const QColor text = palette.color(QPalette::Active, control->foregroundRole());
        const QColor readable = readableTextOn(background, text);
        if (readable == text)
            continue;
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            for (const QPalette::ColorRole role : {control->foregroundRole(), QPalette::WindowText,
                                                   QPalette::Text, QPalette::ButtonText})
                palette.setColor(group, role, readable);
        control->setPalette(palette);
    }
}

} // namespace velmora
