#include "Form1.h"
#include "ColourContrast.h"
#include "QStringPrinter.h"
#include "SettingsSandbox.h"
#include "TestServices.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyleOptionGroupBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace velmora {
namespace {

using testing::TestServices;

class Form1Test : public ::testing::Test {
protected:
    void SetUp() override { testing::clearSettingsStore(); }

    // A fresh start of the program, as far as the main window is concerned.
    std::unique_ptr<Form1> start(TestServices& with) {
        return std::make_unique<Form1>(with.services(), settings, [this] { ++endCalls; });
    }
    std::unique_ptr<Form1> start() { return start(services); }

    static void moveOver(QWidget* widget) {
        moveOver(widget, QPointF(widget->width() / 2.0, widget->height() / 2.0));
    }

    static void moveOver(QWidget* widget, QPointF local) {
        QMouseEvent move(QEvent::MouseMove, local, widget->mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    static void showAndActivate(Form1& form) {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    QString stored(const char* key) {
        return SettingsStore().read(QString::fromLatin1(key), QStringLiteral("<absent>"));
    }

    TestServices services;
    SettingsStore settings;
    int endCalls = 0;
};

TEST_F(Form1Test, FirstStartShowsTheDesignValues) {
    auto form = start();
    EXPECT_EQ(form->Check1()->checkState(), Qt::Unchecked);
    EXPECT_EQ(form->Check2()->checkState(), Qt::Unchecked);
    EXPECT_EQ(form->Check3()->checkState(), Qt::Unchecked);
    EXPECT_EQ(form->Text1()->text(), QStringLiteral("a"));
    EXPECT_FALSE(form->Text1()->isEnabled());
    EXPECT_EQ(form->Text2()->text(), QStringLiteral("b"));
    EXPECT_FALSE(form->Text2()->isEnabled());
    EXPECT_TRUE(services.messages.shown.empty());
    // Starting writes nothing.
    EXPECT_EQ(stored("Text1"), QStringLiteral("<absent>"));
    EXPECT_EQ(stored("Check1"), QStringLiteral("<absent>"));

    EXPECT_EQ(form->windowTitle(), QStringLiteral("Velmora"));
    EXPECT_EQ(services.messages.applicationTitle(), QStringLiteral("Velmora"));
    // The toolkit's display name stays unset: the window system would add it to every
    // window's title.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    EXPECT_FALSE(form->windowIcon().isNull());
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    EXPECT_EQ(form->ListView1()->header()->sectionSize(1), 0);
    EXPECT_EQ(form->fileList().Count(), 0);
    EXPECT_EQ(form->ProgressBar1()->text(), QStringLiteral("Progress Bar"));
    EXPECT_DOUBLE_EQ(form->ProgressBar1()->value(), 0);
}

TEST_F(Form1Test, OptionsSurviveARestart) {
    {
        auto form = start();
        form->Check1()->click();
        EXPECT_TRUE(form->Text1()->isEnabled());
        QTest::keyClicks(form->Text1(), QStringLiteral("x"));
        form->Check3()->click();
    }
    EXPECT_EQ(stored("Check1"), QStringLiteral("1"));
    EXPECT_EQ(stored("Text1"), QStringLiteral("x"));
    EXPECT_EQ(stored("Check3"), QStringLiteral("1"));

    auto again = start();
    EXPECT_EQ(again->Check1()->checkState(), Qt::Checked);
    EXPECT_TRUE(again->Text1()->isEnabled());
    EXPECT_EQ(again->Text1()->text(), QStringLiteral("x"));
    EXPECT_EQ(again->Check2()->checkState(), Qt::Unchecked);
    EXPECT_EQ(again->Check3()->checkState(), Qt::Checked);
    const SearchOptions options = again->options();
    EXPECT_EQ(options.Check1, 1);
    EXPECT_EQ(options.Text1, QStringLiteral("x"));
    EXPECT_EQ(options.Check3, 1);
    EXPECT_TRUE(services.messages.shown.empty());
}

TEST_F(Form1Test, UntickingDisablesTheBoxAndStoresZero) {
    auto form = start();
    form->Check2()->click();
    EXPECT_TRUE(form->Text2()->isEnabled());
    form->Check2()->click();
    EXPECT_FALSE(form->Text2()->isEnabled());
    EXPECT_EQ(stored("Check2"), QStringLiteral("0"));
}

TEST_F(Form1Test, EachKeyInText1ReplacesTheWholeText) {
    auto form = start();
    form->Check1()->click();
    QTest::keyClicks(form->Text1(), QStringLiteral("xy"));
    EXPECT_EQ(form->Text1()->text(), QStringLiteral("y"));
    EXPECT_EQ(stored("Text1"), QStringLiteral("y"));
}

TEST_F(Form1Test, BackspaceInText1EmptiesItAndTheEmptyTextIsKept) {
    {
        auto form = start();
        form->Check1()->click();
        form->Text1()->setCursorPosition(0); // a plain Backspace here would delete nothing
        QTest::keyClick(form->Text1(), Qt::Key_Backspace);
        EXPECT_EQ(form->Text1()->text(), QString());
    }
    EXPECT_EQ(stored("Text1"), QString());
    EXPECT_EQ(start()->Text1()->text(), QString()); // not the default "a"
}

TEST_F(Form1Test, Text2KeepsEverythingTypedAfterItGainedTheFocus) {
    auto form = start();
    form->Check2()->click();
    showAndActivate(*form);
    form->Text2()->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(form->Text2()->hasFocus());
    QTest::keyClicks(form->Text2(), QStringLiteral("xyz"));
    QCoreApplication::processEvents(); // the second selection after a click changes nothing
    EXPECT_EQ(form->Text2()->text(), QStringLiteral("xyz"));
    EXPECT_EQ(stored("Text2"), QStringLiteral("xyz"));
}

TEST_F(Form1Test, ADamagedStoredValueIsReportedAndTheRestStillLoads) {
    settings.write(QStringLiteral("Check1"), QStringLiteral("yes"));
    settings.write(QStringLiteral("Check2"), QStringLiteral("1"));
    settings.write(QStringLiteral("Text1"), QStringLiteral("-"));
    auto form = start();

    ASSERT_EQ(services.messages.shown.size(), 1u);
    const auto& box = services.messages.shown.front();
    EXPECT_EQ(box.title, QStringLiteral("Application Error"));
    EXPECT_EQ(box.icon, MessageBoxes::Icon::Exclamation);
    EXPECT_TRUE(box.text.startsWith(
        QStringLiteral("Type mismatch\r\nin Kestrune2021/08/31.Form1.Form_Load at line ")))
        << box.text.toStdString();
    EXPECT_EQ(form->Check1()->checkState(), Qt::Unchecked);
    EXPECT_FALSE(form->Text1()->isEnabled());
    EXPECT_EQ(form->Text1()->text(), QStringLiteral("-"));
    EXPECT_EQ(form->Check2()->checkState(), Qt::Checked);
    EXPECT_TRUE(form->Text2()->isEnabled());
}

TEST_F(Form1Test, AnOutOfRangeStoredValueIsReported) {
    settings.write(QStringLiteral("Check3"), QStringLiteral("7"));
    auto form = start();
    ASSERT_EQ(services.messages.shown.size(), 1u);
    EXPECT_TRUE(services.messages.shown.front().text.startsWith(
        QStringLiteral("Invalid property value\r\n")));
    EXPECT_EQ(form->Check3()->checkState(), Qt::Unchecked);
}

TEST_F(Form1Test, AGreyedStoredValueCountsAsOff) {
    settings.write(QStringLiteral("Check1"), QStringLiteral("2"));
    auto form = start();
    EXPECT_TRUE(services.messages.shown.empty());
    EXPECT_EQ(form->Check1()->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(form->Text1()->isEnabled());
    EXPECT_FALSE(form->options().beforeOn());
    form->Check1()->click();
    EXPECT_EQ(form->Check1()->checkState(), Qt::Checked);
    EXPECT_EQ(stored("Check1"), QStringLiteral("1"));
}

TEST_F(Form1Test, HoverShowsTheHandOverButtonsOnly) {
    auto form = start();
    ASSERT_TRUE(form->pointer().hasCustomShape());
    moveOver(form->PushButton3());
    EXPECT_EQ(form->cursor().shape(), Qt::BitmapCursor);
    // Over a check box nothing changes; over the frame's own free corner the default.
    moveOver(form->Check2());
    EXPECT_EQ(form->cursor().shape(), Qt::BitmapCursor);
    moveOver(form->Frame1(), QPointF(form->Frame1()->width() - 4, form->Frame1()->height() - 4));
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
    moveOver(form->PushButton2());
    moveOver(form->Text2());
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
    moveOver(form->PushButton10());
    moveOver(form->ListView1()->viewport());
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Form1Test, TheHourglassBlocksTheHoverRules) {
    auto form = start();
    form->pointer().setBusy();
    for (QWidget* over :
         {static_cast<QWidget*>(form->PushButton1()), static_cast<QWidget*>(form->Frame1()),
          static_cast<QWidget*>(form->ListView1()->viewport()),
          static_cast<QWidget*>(form.get())}) {
        moveOver(over);
        EXPECT_TRUE(form->pointer().isBusy()) << over->objectName().toStdString();
    }
}

TEST_F(Form1Test, WithoutSupportFilesTheWindowLoadsPlainAndQuietly) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    TestServices bare(empty.path());
    auto form = start(bare);
    EXPECT_TRUE(bare.messages.shown.empty());
    EXPECT_FALSE(form->pointer().hasCustomShape());
    EXPECT_FALSE(form->isSkinned());
    EXPECT_EQ(form->Frame1()->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(form->Check1()->palette().color(QPalette::Window), QColor(Qt::white));
    // What is drawn, not only the colour chosen: each check box is white where it has no
    // text.
    for (QCheckBox* box : {form->Check1(), form->Check2(), form->Check3()}) {
        const QImage drawn = box->grab().toImage();
        EXPECT_EQ(drawn.pixelColor(drawn.width() - 2, 1), QColor(Qt::white))
            << box->objectName().toStdString();
    }
    moveOver(form->PushButton1());
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Form1Test, ADamagedHandPointerIsReported) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile hand(folder.filePath(QStringLiteral("HAND-M.CUR")));
    ASSERT_TRUE(hand.open(QIODevice::WriteOnly));
    hand.write("not a cursor");
    hand.close();
    TestServices with(folder.path());
    auto form = start(with);
    ASSERT_EQ(with.messages.shown.size(), 1u);
    EXPECT_TRUE(with.messages.shown.front().text.startsWith(QStringLiteral("Invalid picture")));
    EXPECT_EQ(form->Text1()->text(), QStringLiteral("a")); // the later steps still ran
}

TEST_F(Form1Test, TheSkinIsAppliedWhenItsFileIsThere) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("x")));
    const QByteArray sheet = "QPushButton { color: rgb(1, 2, 3); }";
    QFile skin(folder.filePath(QStringLiteral("x/o.cjs")));
    ASSERT_TRUE(skin.open(QIODevice::WriteOnly));
    skin.write(sheet);
    skin.close();
    TestServices with(folder.path());
    auto form = start(with);
    EXPECT_TRUE(with.messages.shown.empty());
    EXPECT_TRUE(form->isSkinned());
    EXPECT_EQ(form->styleSheet(), QString::fromLatin1(sheet));
    const QColor buttonFace = form->palette().color(QPalette::Button);
    EXPECT_EQ(form->Frame1()->palette().color(QPalette::Window), buttonFace);
    EXPECT_EQ(form->Check2()->palette().color(QPalette::Window), buttonFace);

    // Colours only: the captions keep the font and room they have without a skin.
    auto plain = start();
    for (const char* name : {"Check1", "Check2", "Check3", "PushButton2", "Frame1"}) {
        const auto* skinned = form->findChild<QWidget*>(QString::fromLatin1(name));
        const auto* unskinned = plain->findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_EQ(skinned->font(), unskinned->font()) << name;
        EXPECT_EQ(skinned->geometry(), unskinned->geometry()) << name;
        EXPECT_LE(skinned->sizeHint().width(), skinned->width()) << name;
    }
}

TEST_F(Form1Test, ControlsSitAtTheirTwipsPositions) {
    auto form = start();
    const int dpiX = form->logicalDpiX();
    const int dpiY = form->logicalDpiY();
    const auto at = [&](int left, int top, int width, int height) {
        return QRect(left * dpiX / 1440, top * dpiY / 1440, width * dpiX / 1440,
                     height * dpiY / 1440);
    };
    EXPECT_EQ(form->size(), QSize(8040 * dpiX / 1440, 6870 * dpiY / 1440));
    EXPECT_EQ(form->minimumSize(), form->maximumSize()); // fixed
    EXPECT_EQ(form->ListView1()->geometry(), at(120, 120, 7800, 2325));
    EXPECT_EQ(form->PushButton10()->geometry(), at(4080, 3560, 3840, 405));
    EXPECT_EQ(form->Frame1()->geometry(), at(120, 4000, 7800, 1680));
    EXPECT_EQ(form->Text2()->geometry(), at(2940, 715, 825, 345)); // in the frame
    EXPECT_EQ(form->Check3()->geometry(), at(240, 1200, 5535, 285));
    // The long captions may reach to the frame's inner edge, never beyond it.
    const QRect check1 = form->Check1()->geometry();
    EXPECT_EQ(check1.topLeft(), at(240, 300, 7455, 285).topLeft());
    EXPECT_GE(check1.width(), at(240, 300, 7455, 285).width());
    EXPECT_LE(check1.right(), form->Frame1()->contentsRect().right());
    EXPECT_EQ(form->Text2()->parentWidget(), form->Frame1());
    EXPECT_EQ(form->PushButton2()->geometry(), at(120, 5820, 7800, 405));
    EXPECT_EQ(form->ProgressBar1()->geometry(), at(120, 6340, 7800, 405));
    EXPECT_EQ(form->ListView1()->header()->sectionSize(0), 7000 * dpiX / 1440);
}

TEST_F(Form1Test, CaptionsAndFontsAreTheDesignedOnes) {
    auto form = start();
    EXPECT_EQ(form->Check1()->text(), QStringLiteral("Consider everything before:") +
                                          QString(24, u' ') +
                                          QStringLiteral("character/s when finding partial "
                                                         "duplicates"));
    EXPECT_EQ(form->Check2()->text(), QStringLiteral("Consider everything after:") +
                                          QString(27, u' ') +
                                          QStringLiteral("character/s when finding partial "
                                                         "duplicates"));
    EXPECT_EQ(form->PushButton4()->text(), QStringLiteral("Load Sample/Example Files"));
    EXPECT_EQ(form->PushButton10()->text(), QStringLiteral("Remove Filenames Not Cont. X"));
    EXPECT_EQ(form->Frame1()->title(), QStringLiteral("Options"));
    EXPECT_DOUBLE_EQ(form->PushButton1()->font().pointSizeF(), 11.25);
    EXPECT_TRUE(form->PushButton1()->font().bold());
    EXPECT_DOUBLE_EQ(form->Check3()->font().pointSizeF(), 9);
    EXPECT_TRUE(form->ListView1()->font().bold());
    for (const char* name : {"ListView1", "PushButton1", "PushButton2", "PushButton3",
                             "PushButton4", "PushButton5", "PushButton6", "PushButton10", "Frame1",
                             "Check1", "Check2", "Check3", "Text1", "Text2", "ProgressBar1"})
        EXPECT_NE(form->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
}

TEST_F(Form1Test, ClosingTheWindowEndsTheProgram) {
    auto form = start();
    form->show();
    EXPECT_TRUE(form->close());
    EXPECT_EQ(endCalls, 1);
}

// The widest contrast within a caption's picture: its text against what lies behind it.
double captionContrast(QWidget& caption, QRect region) {
    const QImage picture = caption.grab(region).toImage();
    double darkest = 21, lightest = 0;
    QColor dark, light;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            const double towardsBlack = contrastRatio(pixel, Qt::black);
            if (towardsBlack < darkest)
                darkest = towardsBlack, dark = pixel;
            if (towardsBlack > lightest)
                lightest = towardsBlack, light = pixel;
        }
    return contrastRatio(dark, light);
}

TEST_F(Form1Test, CaptionsReadWellUnderALightOrDarkPaletteAndASkinOfOneColour) {
    const QPalette light = QApplication::palette();
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    QTemporaryDir skinned;
    ASSERT_TRUE(QDir(skinned.path()).mkpath(QStringLiteral("x")));
    QFile skin(skinned.filePath(QStringLiteral("x/o.cjs")));
    ASSERT_TRUE(skin.open(QIODevice::WriteOnly));
    skin.write("QWidget { background-color: #203040; }");
    skin.close();
    TestServices withSkin(skinned.path());
    const std::pair<const QPalette*, TestServices*> looks[] = {
        {&light, &services}, {&dark, &services}, {&light, &withSkin}};
    for (const auto& [palette, with] : looks) {
        QApplication::setPalette(*palette);
        auto form = start(*with);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        const std::string look = palette == &dark ? "dark" : form->isSkinned() ? "skin" : "light";
        QGroupBox& frame = *form->Frame1();
        QStyleOptionGroupBox title;
        title.initFrom(&frame);
        title.text = frame.title();
        title.subControls = QStyle::SC_GroupBoxLabel;
        const QRect titleRegion = frame.style()->subControlRect(QStyle::CC_GroupBox, &title,
                                                                QStyle::SC_GroupBoxLabel, &frame);
        EXPECT_GE(captionContrast(frame, titleRegion), 4.5) << look << " Options";
        for (QCheckBox* box : {form->Check1(), form->Check2(), form->Check3()}) {
            // Past the mark, where the caption starts.
            const QRect caption = box->rect().adjusted(box->height() + 4, 0, 0, 0);
            EXPECT_GE(captionContrast(*box, caption), 4.5)
                << look << " " << box->objectName().toStdString();
        }
        QPushButton& button = *form->PushButton2();
        EXPECT_GE(captionContrast(button, button.rect().adjusted(4, 4, -4, -4)), 4.5)
            << look << " Start Finding";
    }
    QApplication::setPalette(light);
}

TEST_F(Form1Test, TheWindowRendersForALook) {
    settings.write(QStringLiteral("Check1"), QStringLiteral("1"));
    auto form = start();
    form->fileList().Add(QStringLiteral("/home/user/Documents/report 2021.txt"));
    form->fileList().Add(QStringLiteral("/home/user/Documents/report 2021 (copy).txt"));
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QPixmap picture = form->grab();
    ASSERT_FALSE(picture.isNull());
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(VELMORA_SCREENSHOT_DIR)));
    EXPECT_TRUE(picture.save(QStringLiteral(VELMORA_SCREENSHOT_DIR "/Form1.png")));
}

} // namespace
} // namespace velmora
