#include "CaptionFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionButton>

namespace velmora {

namespace {
// Below this a caption is no longer worth reading; it is left cut rather than shrunk on.
constexpr double kSmallestPoints = 6;
} // namespace

void shrinkCaptionToFit(QAbstractButton& control) {
    QFont font = control.font();
    while (control.sizeHint().width() > control.width() &&
           font.pointSizeF() - 0.5 >= kSmallestPoints) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        control.setFont(font);
    }
}

void fitCaptionAroundTextBox(QCheckBox& box, const QWidget& textBox, const QString& before,
                             const QString& after) {
    QStyleOptionButton option;
    option.initFrom(&box);
    option.text = box.text();
    const int textStart =
        box.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &box).left();
    const int boxLeft = textBox.x() - box.x();
    const int boxRight = boxLeft + textBox.width();
    const auto fits = [&](const QFont& font, qsizetype blanks) {
        const QFontMetrics metrics(font);
        const QString blank(blanks, u' ');
        return textStart + metrics.horizontalAdvance(before) <= boxLeft &&
               textStart + metrics.horizontalAdvance(before + blank) >= boxRight &&
               textStart + metrics.horizontalAdvance(before + blank + after) <= box.width();
    };
    const qsizetype designedBlanks = box.text().size() - before.size() - after.size();
    QFont font = box.font();
    if (fits(font, designedBlanks))
        return;
    while (font.pointSizeF() - 0.5 >= kSmallestPoints) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        const QFontMetrics metrics(font);
        // The fewest blanks that bring the rest out from under the box, and one more.
        qsizetype blanks = 1;
        while (textStart + metrics.horizontalAdvance(before + QString(blanks, u' ')) < boxRight)
            ++blanks;
        ++blanks;
        if (fits(font, blanks)) {
            box.setFont(font);
            box.setText(before + QString(blanks, u' ') + after);
            return;
        }
    }
}

} // namespace velmora
