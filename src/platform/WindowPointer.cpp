#include "WindowPointer.h"

#include <QFile>
#include <QPixmap>
#include <QWidget>

#include <algorithm>

namespace velmora {

WindowPointer::WindowPointer(QWidget& window) : window_(window) {}

void WindowPointer::loadCustomShape(const QString& cursorFile) {
    hasCustomShape_ = loadPointerImage(cursorFile, custom_);
}

bool WindowPointer::isBusy() const {
    return window_.testAttribute(Qt::WA_SetCursor) && window_.cursor().shape() == Qt::WaitCursor;
}

void WindowPointer::setBusy() {
    window_.setCursor(Qt::WaitCursor);
}

void WindowPointer::setDefault() {
    window_.unsetCursor();
}

void WindowPointer::setCustom() {
    if (hasCustomShape_)
        window_.setCursor(custom_);
    else
        window_.unsetCursor();
}

void WindowPointer::hoverButton() {
    if (!isBusy())
        setCustom();
}

void WindowPointer::hoverOther() {
    if (!isBusy())
        setDefault();
}

std::optional<QPoint> cursorHotSpot(const QByteArray& fileBytes, QSize imageSize) {
    const auto word = [&fileBytes](qsizetype at) {
        return static_cast<int>(static_cast<unsigned char>(fileBytes.at(at))) |
               static_cast<int>(static_cast<unsigned char>(fileBytes.at(at + 1))) << 8;
    };
    constexpr qsizetype directorySize = 6;
    constexpr qsizetype entrySize = 16;
    if (fileBytes.size() < directorySize || word(0) != 0 || word(2) != 2)
        return std::nullopt; // an icon, or no icon-format file at all
    const int count = word(4);
    std::optional<QPoint> first;
    for (int index = 0; index < count; ++index) {
        const qsizetype entry = directorySize + index * entrySize;
        if (fileBytes.size() < entry + entrySize)
            break;
        // A stored width of 0 stands for 256.
        const int width = static_cast<unsigned char>(fileBytes.at(entry)) == 0
                              ? 256
                              : static_cast<unsigned char>(fileBytes.at(entry));
        const QPoint hotSpot(word(entry + 4), word(entry + 6));
        if (width == imageSize.width())
            return hotSpot;
        if (!first)
            first = hotSpot;
    }
    return first;
}

bool loadPointerImage(const QString& file, QCursor& cursor) {
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = source.readAll();
    QPixmap image;
    // The reader is named: the content check alone does not take every cursor file.
    if (!image.loadFromData(bytes, "ICO") && !image.loadFromData(bytes))
        return false;
    // Qt's reader drops the hot spot a cursor file stores, so it is read here; an icon
    // has none and points with its top left corner.
    const QPoint hotSpot = cursorHotSpot(bytes, image.size()).value_or(QPoint(0, 0));
    cursor = QCursor(image, std::min(hotSpot.x(), image.width() - 1),
                     std::min(hotSpot.y(), image.height() - 1));
    return true;
}

} // namespace velmora
