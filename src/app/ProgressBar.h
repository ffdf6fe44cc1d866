#pragma once

#include <QString>
#include <QWidget>

namespace velmora {

// A progress bar whose text line is shown as given: a toolkit bar would read "%" in a
// path as a placeholder. The value is a real number from 0 to 100; values outside are
// shown at the nearer end. Screen readers meet it as a progress bar with that value and
// text.
class ProgressBar : public QWidget {
    Q_OBJECT

public:
    explicit ProgressBar(QWidget* parent = nullptr);

    void setValue(double value);
    double value() const { return value_; }
    void setText(const QString& text);
    const QString& text() const { return text_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double value_ = 0;
    QString text_;
};

} // namespace velmora
