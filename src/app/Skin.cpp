#include "Skin.h"

#include "ApplyButtonFaceColors.h"

#include <QColor>
#include <QFile>
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

} // namespace velmora
