#include "CaptionFit.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

#include <gtest/gtest.h>

namespace velmora {
namespace {

// A font wider than the layout was measured for stands in for a missing one: the
// controls keep their places and only their captions' fonts shrink.
TEST(CaptionFit, ACaptionTooWideForItsControlShrinksAndOneThatFitsStaysAsItIs) {
    QWidget frame;
    QFont wide(QStringLiteral("DejaVu Sans"));
    wide.setPointSizeF(11);
    wide.setBold(true);
    for (const int width : {240, 600}) {
        QPushButton button(QStringLiteral("Remove Filenames Containing X"), &frame);
        button.setFont(wide);
        button.setGeometry(0, 0, width, 30);
        shrinkCaptionToFit(button);
        EXPECT_LE(button.sizeHint().width(), button.width()) << width;
        EXPECT_EQ(button.font().pointSizeF() < 11, width == 240) << width;
        EXPECT_EQ(button.geometry(), QRect(0, 0, width, 30));
    }

    const QString before = QStringLiteral("Consider everything before:");
    const QString after = QStringLiteral("character/s when finding partial duplicates");
    QCheckBox box(before + QString(24, u' ') + after, &frame);
    QLineEdit textBox(&frame);
    box.setFont(wide);
    box.setGeometry(10, 10, 500, 20);
    textBox.setGeometry(170, 8, 55, 24); // the first part binds first
    fitCaptionAroundTextBox(box, textBox, before, after);
    ASSERT_LT(box.font().pointSizeF(), 11);
    const QFontMetrics metrics(box.font());
    const qsizetype blanks = box.text().size() - before.size() - after.size();
    ASSERT_TRUE(box.text().startsWith(before) && box.text().endsWith(after));
    QStyleOptionButton option;
    option.initFrom(&box);
    const int textStart =
        box.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &box).left();
    EXPECT_LE(box.x() + textStart + metrics.horizontalAdvance(before), textBox.x());
    EXPECT_GE(box.x() + textStart + metrics.horizontalAdvance(before + QString(blanks, u' ')),
              textBox.x() + textBox.width());
    EXPECT_LE(textStart + metrics.horizontalAdvance(box.text()), box.width());

    const QString fitted = box.text();
    fitCaptionAroundTextBox(box, textBox, before, after);
    EXPECT_EQ(box.text(), fitted); // what fits is left alone
}

} // namespace
} // namespace velmora
