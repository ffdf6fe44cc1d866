#pragma once

#include <QByteArray>
#include <QCursor>
#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

class QWidget;

namespace velmora {

// A window's pointer shape doubles as the application's busy flag: the hourglass means a
// long operation is running, and the hover rules leave it alone while it shows.
class WindowPointer {
public:
    // Loads the custom hand pointer from a cursor file; without one (missing or
    // unreadable), the custom shape is the system default.
    explicit WindowPointer(QWidget& window);

    void loadCustomShape(const QString& cursorFile);
    bool hasCustomShape() const { return hasCustomShape_; }

    bool isBusy() const;
    void setBusy();    // the hourglass
    void setDefault(); // the default pointer; also ends busy
    void setCustom();  // the hand, or the default without a loaded hand

    // The hover rules: over a push button the hand, over anything else the default;
    // neither while busy.
    void hoverButton();
    void hoverOther();

private:
    QWidget& window_;
    QCursor custom_;
    bool hasCustomShape_ = false;
};

// Loads a pointer image from a cursor (.cur) or icon (.ico) file, with the hot spot a
// cursor file stores; false when the file is missing or unreadable.
bool loadPointerImage(const QString& file, QCursor& cursor);

// The hot spot stored in a cursor file's directory for the image of the given size (the
// first entry when none has that width); nothing for icon files and other data.
std::optional<QPoint> cursorHotSpot(const QByteArray& fileBytes, QSize imageSize);

} // namespace velmora
