#include "ApplicationTitle.h"
#include "CheckValue.h"
#include "GraphicalDesktop.h"
#include "ProgressBar.h"
#include "QStringPrinter.h"
#include "Twips.h"

#include <QCheckBox>
#include <QMap>

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace velmora {
namespace {

TEST(ApplicationTitle, ALongTitleLosesWordsUntilItFits) {
    // 41 characters in five words.
    const QString title = QStringLiteral("Partial Duplicate Filename Finder Toolkit");
    ASSERT_EQ(title.size(), 41);
    EXPECT_EQ(MakeApplicationTitle(title), QStringLiteral("Partial Duplicate Filename Finder"));
    // Several words go when one is not enough.
    EXPECT_EQ(MakeApplicationTitle(QStringLiteral("Aaaaaaaaaa Bbbbbbbbbb Cccccccccc Dddddddddd "
                                                  "Eeeeeeeeee Ffffffffff")),
              QStringLiteral("Aaaaaaaaaa Bbbbbbbbbb Cccccccccc"));
}

TEST(ApplicationTitle, AShortTitleStillLosesItsLastWord) {
    EXPECT_EQ(MakeApplicationTitle(QStringLiteral("Name Finder")), QStringLiteral("Name"));
    EXPECT_EQ(MakeApplicationTitle(QStringLiteral("Trailing ")), QStringLiteral("Trailing"));
}

TEST(ApplicationTitle, ATitleWithoutBlanksStaysWhole) {
    EXPECT_EQ(MakeApplicationTitle(QStringLiteral("Velmora")), QStringLiteral("Velmora"));
    const QString long50(50, u'x');
    EXPECT_EQ(MakeApplicationTitle(long50), long50);
    // Once the blanks run out the rest cannot be cut, however long it is.
    EXPECT_EQ(MakeApplicationTitle(long50 + QStringLiteral(" tail")), long50);
    EXPECT_EQ(MakeApplicationTitle(QString()), QString());
}

TEST(GraphicalDesktop, AnyOneOfTheVariablesIsEnough) {
    QMap<QByteArray, QByteArray> environment;
    const auto lookup = [&environment](const char* name) { return environment.value(name); };
    EXPECT_FALSE(hasGraphicalDesktop(lookup));
    environment["HOME"] = "/root";
    environment["DISPLAY"] = "";
    EXPECT_FALSE(hasGraphicalDesktop(lookup)); // set but empty names nothing
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.clear();
        environment[name] = "x";
        EXPECT_TRUE(hasGraphicalDesktop(lookup)) << name;
    }
}

TEST(Twips, FifteenToThePixelAtNinetySixDotsPerInch) {
    EXPECT_EQ(twipsToPixels(1440, 96), 96);
    EXPECT_EQ(twipsToPixels(8040, 96), 536);
    EXPECT_EQ(twipsToPixels(120, 96), 8);
    EXPECT_EQ(twipsToPixels(8040, 192), 1072);
    EXPECT_EQ(twipsRect(120, 2540, 3840, 405, 96, 120), QRect(8, 211, 256, 33));
}

TEST(CheckValue, StoredValuesMapOntoTheThreeStates) {
    QCheckBox box;
    setCheckValue(box, 1);
    EXPECT_EQ(box.checkState(), Qt::Checked);
    EXPECT_EQ(checkValue(box), 1);
    setCheckValue(box, 2);
    EXPECT_EQ(box.checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(checkValue(box), 2);
    setCheckValue(box, 0);
    EXPECT_EQ(checkValue(box), 0);
    EXPECT_FALSE(box.isTristate());
}

TEST(CheckValue, OtherValuesAreRefusedAndLeaveTheBoxAlone) {
    QCheckBox box;
    setCheckValue(box, 1);
    for (int bad : {-1, 3, 100})
        EXPECT_THROW(setCheckValue(box, bad), std::runtime_error) << bad;
    EXPECT_EQ(checkValue(box), 1);
}

TEST(CheckValue, AClickOnAGreyedBoxTicksItAndEndsTheGreyedState) {
    QCheckBox box;
    setCheckValue(box, 2);
    box.click();
    endGreyedState(box);
    EXPECT_EQ(checkValue(box), 1);
    box.click();
    endGreyedState(box);
    EXPECT_EQ(checkValue(box), 0); // never greyed again by a click
}

TEST(ProgressBar, KeepsItsValueWithinTheRange) {
    ProgressBar bar;
    bar.setValue(42.5);
    EXPECT_DOUBLE_EQ(bar.value(), 42.5);
    bar.setValue(100.05); // what the last rows of a long export report
    EXPECT_DOUBLE_EQ(bar.value(), 100);
    bar.setValue(-3);
    EXPECT_DOUBLE_EQ(bar.value(), 0);
    bar.setValue(std::nan(""));
    EXPECT_DOUBLE_EQ(bar.value(), 0);
}

TEST(ProgressBar, ShowsPercentSignsAsTheyAre) {
    ProgressBar bar;
    bar.resize(400, 30);
    bar.setText(QStringLiteral("Comparing: /data/100%p done.txt"));
    bar.setValue(50);
    EXPECT_EQ(bar.text(), QStringLiteral("Comparing: /data/100%p done.txt"));
    EXPECT_FALSE(bar.grab().isNull()); // paints without a style complaint
}

} // namespace
} // namespace velmora
