#include "ProgressBar.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>
#include <QStyleOptionProgressBar>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {
// Steps of the drawn bar: hundredths of a percent, so slow runs still move.
constexpr int drawnSteps = 10000;

// Read as the toolkit's own bar is: the role, the value from 0 to 100, and the text line
// as its value text, so a reader says "Finding... 40 %" rather than a bare number.
class AccessibleProgressBar : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleProgressBar(ProgressBar* bar)
        : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return bar()->text();
        if (kind == QAccessible::Name && QAccessibleWidget::text(kind).isEmpty())
            return QStringLiteral("Progress");
        return QAccessibleWidget::text(kind);
    }
    QVariant currentValue() const override { return bar()->value(); }
    void setCurrentValue(const QVariant&) override {} // the program alone moves it
    QVariant maximumValue() const override { return 100.0; }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return 0.0; }

private:
    const ProgressBar* bar() const { return static_cast<const ProgressBar*>(widget()); }
};

QAccessibleInterface* accessibleProgressBar(const QString&, QObject* object) {
    if (auto* bar = qobject_cast<ProgressBar*>(object))
        return new AccessibleProgressBar(bar);
    return nullptr;
}

} // namespace

ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleProgressBar);
        return true;
    }();
    Q_UNUSED(installed);
}

void ProgressBar::setValue(double value) {
    if (std::isnan(value))
        value = 0;
    value = std::clamp(value, 0.0, 100.0);
    if (value == value_)
        return;
    value_ = value;
    update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent changed(this, value_);
        QAccessible::updateAccessibility(&changed);
    }
}

void ProgressBar::setText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    update();
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
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
