#include "ProgressBar.h"

#include <QPainter>
#include <QStyleOptionProgressBar>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {
// Steps of the drawn bar: hundredths of a percent, so slow runs still move.
constexpr int drawnSteps = 10000;
} // namespace

ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent) {}

void ProgressBar::setValue(double value) {
    if (std::isnan(value))
        value = 0;
    value_ = std::clamp(value, 0.0, 100.0);
    update();
}

void ProgressBar::setText(const QString& text) {
    text_ = text;
    update();
}

QSize ProgressBar::sizeHint() const {
    return QSize(200, fontMetrics().height() + 8);
}

void ProgressBar::paintEvent(QPaintEvent*) {
    QStyleOptionProgressBar option;
    option.initFrom(this);
    option.minimum = 0;
    option.maximum = drawnSteps;
    option.progress = static_cast<int>(std::lround(value_ * (drawnSteps / 100.0)));
    option.state |= QStyle::State_Horizontal;
    option.textVisible = true;
    option.textAlignment = Qt::AlignCenter;
    // Long paths lose their middle rather than their file name.
    option.text = fontMetrics().elidedText(text_, Qt::ElideMiddle, std::max(0, width() - 12));
    QPainter painter(this);
    style()->drawControl(QStyle::CE_ProgressBar, &option, &painter, this);
}

} // namespace velmora
