#pragma once

#include <QObject>

class QAbstractScrollArea;

namespace velmora {

// Lets Shift with the ordinary wheel scroll a list sideways, as a tilting wheel or a
// sideways swipe already does, for mice that have no other way to reach the end of a
// long line.
class SidewaysWheel : public QObject {
public:
    // Watches the area's viewport; lives as long as the area.
    explicit SidewaysWheel(QAbstractScrollArea& area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractScrollArea& area_;
};

} // namespace velmora
