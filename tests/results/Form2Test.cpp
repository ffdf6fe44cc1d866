#include "Form2.h"
#include "ApplyButtonFaceColors.h"
#include "QStringPrinter.h"
#include "TemporaryTree.h"
#include "TestServices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <memory>

namespace velmora {
namespace {

class Form2Test : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(applicationFolder.isValid()); }

    // Builds the window the way the program does, once the application folder is ready.
    Form2& load() {
        form = std::make_unique<Form2>(
            fakes.services(),
            [this] {
                formVisibleWhenMainShown = form->isVisible();
                mainWindow.show();
            },
            [this] { ++endProgramCalls; });
        return *form;
    }

    void writeHandCursor() {
        QImage hand(32, 32, QImage::Format_ARGB32);
        hand.fill(Qt::black);
        ASSERT_TRUE(hand.save(applicationFolder.filePath("HAND-M.CUR"), "PNG"));
    }

    void fill(std::initializer_list<ResultRow> rows) { form->resultsList().setRows(rows); }

    std::vector<bool> ticks() const {
        std::vector<bool> result;
        for (int position = 1; position <= form->resultsList().Count(); ++position)
            result.push_back(form->resultsList().Checked(position));
        return result;
    }

    static void moveOver(QWidget& widget, QPoint position) { QTest::mouseMove(&widget, position); }
    static void moveOver(QWidget& widget) { moveOver(widget, widget.rect().center()); }

    Qt::CursorShape pointerShape() const {
        return form->testAttribute(Qt::WA_SetCursor) ? form->cursor().shape() : Qt::ArrowCursor;
    }

    QTemporaryDir applicationFolder;
    testing::TestServices fakes{applicationFolder.path()};
    testing::FakeMessageBoxes& messages = fakes.messages;
    QWidget mainWindow;
    std::unique_ptr<Form2> form;
    int endProgramCalls = 0;
    bool formVisibleWhenMainShown = false;
};

TEST_F(Form2Test, LoadsWithoutTheHandCursorAndWithoutAMessage) {
    Form2& window = load();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(window.pointer().hasCustomShape());
    EXPECT_EQ(window.windowTitle(), "Velmora");
    EXPECT_EQ(window.ListView1().model(), &window.resultsList());
    EXPECT_EQ(window.ListView1().horizontalHeader()->sectionSize(0), window.horizontalPixels(7000));
    EXPECT_EQ(window.ListView1().model()->headerData(0, Qt::Horizontal).toString(), "File(s)");
    EXPECT_EQ(window.ListView1().toolTip(),
              "Move | line to right and out of window to reveal full names.");
    EXPECT_EQ(window.PushButton2().toolTip(), "Ctrl+Z in this window puts the last files back");
    EXPECT_EQ(window.palette().color(QPalette::Window),
              QApplication::palette().color(QPalette::Button));

    // Without the hand the buttons show the default pointer rather than nothing at all.
    moveOver(window.PushButton5());
    EXPECT_EQ(pointerShape(), Qt::ArrowCursor);
}

TEST_F(Form2Test, ControlsStandAtTheirPlacesInTabOrder) {
    Form2& window = load();
    const auto pixels = [&](int left, int top, int width, int height) {
        return QRect(window.horizontalPixels(left), window.verticalPixels(top),
                     window.horizontalPixels(width), window.verticalPixels(height));
    };
    EXPECT_EQ(window.size(), QSize(window.horizontalPixels(8040), window.verticalPixels(5610)));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.ListView1().geometry(), pixels(120, 120, 7800, 3915));
    EXPECT_EQ(window.PushButton3().geometry(), pixels(120, 4640, 3840, 405));
    EXPECT_EQ(window.PushButton18().geometry(), pixels(4080, 5150, 3840, 405));
    // The last row of buttons must end inside the client area.
    EXPECT_LE(window.PushButton18().geometry().bottom(), window.height());

    const QStringList expected{"ListView1",   "PushButton1", "PushButton5", "PushButton3",
                               "PushButton2", "PushButton6", "PushButton18"};
    const QStringList captions{"Back",
                               "Check All",
                               "Uncheck All",
                               "Send To Recycle Bin",
                               "Save Results As Text File",
                               "Copy Results To Clipboard"};
    for (int at = 1; at < expected.size(); ++at) {
        auto* button = window.findChild<QPushButton*>(expected[at]);
        ASSERT_NE(button, nullptr) << expected[at].toStdString();
        EXPECT_EQ(button->text(), captions[at - 1]);
        EXPECT_TRUE(button->font().bold());
        EXPECT_DOUBLE_EQ(button->font().pointSizeF(), 11.25);
        EXPECT_EQ(button->font().family(), "Arial");
    }
    EXPECT_DOUBLE_EQ(window.ListView1().font().pointSizeF(), 9);
    EXPECT_TRUE(window.ListView1().font().bold());

    QStringList order;
    QWidget* widget = &window.ListView1();
    do {
        if (expected.contains(widget->objectName()))
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != &window.ListView1());
    EXPECT_EQ(order, expected);
}

TEST_F(Form2Test, CheckAllAndUncheckAllLeaveAnEmptyListAlone) {
    Form2& window = load();
    QSignalSpy changes(&window.resultsList(), &QAbstractItemModel::dataChanged);
    window.PushButton5().click();
    window.PushButton3().click();
    EXPECT_EQ(window.resultsList().Count(), 0);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Form2Test, UncheckAllOverridesTicksSetByHandAfterCheckAll) {
    Form2& window = load();
    fill({{"/a/x.txt", false}, {"/b/x.txt", true}, {"/c/x.txt", false}});
    window.pointer().setBusy(); // neither command may take the busy pointer away

    window.PushButton5().click();
    EXPECT_EQ(ticks(), std::vector<bool>({true, true, true}));
    window.resultsList().setData(window.resultsList().index(1, 0), Qt::Unchecked,
                                 Qt::CheckStateRole);
    EXPECT_EQ(ticks(), std::vector<bool>({true, false, true}));
    window.PushButton3().click();
    EXPECT_EQ(ticks(), std::vector<bool>({false, false, false}));

    EXPECT_TRUE(window.pointer().isBusy());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Form2Test, ClickingARowsCheckBoxTicksAndUnticksIt) {
    Form2& window = load();
    fill({{"/a/x.txt", false}, {"/b/x.txt", true}});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QTableView& view = window.ListView1();
    const QRect row = view.visualRect(view.model()->index(0, 0));
    ASSERT_FALSE(row.isEmpty());
    // The check box is drawn first in the row, at its left edge.
    const QPoint checkBox(row.left() + row.height() / 2 + 2, row.center().y());
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, checkBox);
    EXPECT_EQ(ticks(), std::vector<bool>({true, true}));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, checkBox);
    EXPECT_EQ(ticks(), std::vector<bool>({false, true}));

    // Clicking the text, and typing, never changes a path.
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
    QTest::keyClicks(view.viewport(), "zz");
    EXPECT_EQ(window.resultsList().Text(1), "/a/x.txt");
    EXPECT_EQ(window.resultsList().Text(2), "/b/x.txt");
}

TEST_F(Form2Test, HoveringARowTellsWhatItMatchedWhyAndWhetherItIsACopy) {
    Form2& window = load();
    testing::TemporaryTree tree;
    const QDateTime modified(QDate(2026, 1, 2), QTime(3, 4, 5));
    const auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(tree.path(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.flush(); // else closing writes the bytes and sets the time anew
        EXPECT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
        return file.fileName();
    };
    const QString original = write("abcde.txt", "same");
    const QString copy = write("abcxy.txt", "same");
    const QString edited = write("Report-1.txt", "samf");
    const QString gone = tree.path(QStringLiteral("Report-2.doc"));
    SearchOptions options;
    options.Check1 = 1;
    options.Text1 = "-";
    window.resultsList().setRunOptions(options, PathStyle::Posix);
    fill({{original, false, copy, 14.0 / 18},
          {edited, true, original, -1, MatchStage::Before},
          {edited, true, gone, -1, MatchStage::Before},
          {"/a/added by hand", false}});
    QSignalSpy finished(&window.contentCheck(), &ContentCheck::finished);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(!finished.isEmpty() || finished.wait());

    QTableView& view = window.ListView1();
    auto hover = [&](int row) {
        const QPoint at = view.visualRect(view.model()->index(row, 0)).center();
        QHelpEvent event(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
        QApplication::sendEvent(view.viewport(), &event);
        return QToolTip::text();
    };
    const QString fourBytes = QStringLiteral("4 bytes, modified 2026-01-02 03:04:05");
    EXPECT_EQ(hover(0),
              original + "\nMatched: " + copy + "\nNames 78 % alike\nThis file: " + fourBytes +
                  "\nMatched file: " + fourBytes + "\nSame contents\n\n" + resultsListHint());
    EXPECT_EQ(hover(1), edited + "\nMatched: " + original +
                            "\nSame part before \"-\"\nThis file: " + fourBytes +
                            "\nMatched file: " + fourBytes + "\nContents differ\n\n" +
                            resultsListHint());
    EXPECT_TRUE(hover(2).endsWith("\nMatched file: no longer there\nContents not compared: its "
                                  "partner has gone\n\n" +
                                  resultsListHint()))
        << hover(2).toStdString();
    // A row without a partner leaves the list's own hint to show.
    EXPECT_FALSE(view.model()->index(3, 0).data(Qt::ToolTipRole).isValid());

    messages.answers.push_back(MessageBoxes::Answer::No);
    window.PushButton2().click();
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_TRUE(messages.shown[0].text.contains(
        "\n\n1 of these is not a copy of the file it matched:\n" + edited +
        "\n\n1 of these "
        "could not be compared"))
        << messages.shown[0].text.toStdString();
}

TEST_F(Form2Test, BackShowsTheMainWindowFirstAndKeepsTheRows) {
    Form2& window = load();
    fill({{"/a/x.txt", false}, {"/b/x.txt", true}});
    window.show();

    window.PushButton1().click();

    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_TRUE(formVisibleWhenMainShown);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(endProgramCalls, 0); // hiding is not closing
    EXPECT_EQ(window.resultsList().rows(),
              std::vector<ResultRow>({{"/a/x.txt", false}, {"/b/x.txt", true}}));
    EXPECT_TRUE(messages.shown.empty());

    window.show();
    EXPECT_EQ(ticks(), std::vector<bool>({false, true}));
}

TEST_F(Form2Test, ALongPathCanBeScrolledIntoViewSideways) {
    Form2& window = load();
    window.resultsList().Add("/" + QString(400, 'a') + "/x.txt");
    window.resultsList().Add("/" + QString(400, 'a') + "/y.txt");
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTableView& view = window.ListView1();
    QScrollBar& sideways = *view.horizontalScrollBar();
    EXPECT_FALSE(sideways.isVisible()); // the column fits at first

    // The user drags the column's divider past the list's right edge.
    view.horizontalHeader()->resizeSection(0, 3 * view.viewport()->width());
    ASSERT_TRUE(QTest::qWaitFor([&] { return sideways.isVisible(); }, 2000));
    EXPECT_GE(sideways.maximum(), 2 * view.viewport()->width() - 2);

    struct Turn {
        const char* name;
        QPoint angle;
        Qt::KeyboardModifiers modifiers;
    };
    for (const Turn& turn : {Turn{"sideways wheel", {-120, 0}, Qt::NoModifier},
                             Turn{"Shift and wheel", {0, -120}, Qt::ShiftModifier}}) {
        sideways.setValue(0);
        const QPointF at = view.viewport()->rect().center();
        QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), {}, turn.angle, Qt::NoButton,
                          turn.modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &wheel);
        EXPECT_GT(sideways.value(), 0) << turn.name;
        EXPECT_EQ(view.verticalScrollBar()->value(), 0) << turn.name;
    }
}

TEST_F(Form2Test, ClosingEndsTheProgramEvenWithTheMainWindowHidden) {
    Form2& window = load();
    window.show();
    EXPECT_TRUE(window.close());
    EXPECT_EQ(endProgramCalls, 1);
    EXPECT_FALSE(mainWindow.isVisible());
}

TEST_F(Form2Test, ButtonsShowTheHandAndTheRestTheDefaultExceptWhileBusy) {
    writeHandCursor();
    Form2& window = load();
    ASSERT_TRUE(window.pointer().hasCustomShape());
    EXPECT_TRUE(messages.shown.empty());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // A move over a button also reaches the window behind it; the hand must stay.
    moveOver(window.PushButton2());
    EXPECT_EQ(pointerShape(), Qt::BitmapCursor);
    moveOver(*window.ListView1().viewport());
    EXPECT_EQ(pointerShape(), Qt::ArrowCursor);
    moveOver(window.PushButton18());
    EXPECT_EQ(pointerShape(), Qt::BitmapCursor);
    moveOver(window, QPoint(2, 2)); // bare background, left of the list
    EXPECT_EQ(pointerShape(), Qt::ArrowCursor);

    window.pointer().setBusy();
    moveOver(window.PushButton1());
    EXPECT_EQ(pointerShape(), Qt::WaitCursor);
    moveOver(window, QPoint(2, 2));
    moveOver(window.ListView1());
    EXPECT_EQ(pointerShape(), Qt::WaitCursor);
}

TEST(ApplyButtonFaceColorsTest, PaintsOnlyTheWindowAndItsLabelLikeControls) {
    const QPalette original = QApplication::palette();
    QPalette distinct = original;
    distinct.setColor(QPalette::Button, QColor(10, 200, 30));
    distinct.setColor(QPalette::Window, QColor(250, 250, 250));
    QApplication::setPalette(distinct);
    {
        QWidget window;
        auto* check = new QCheckBox(&window);
        auto* label = new QLabel(&window);
        auto* edit = new QLineEdit(&window);
        auto* button = new QPushButton(&window);
        ApplyButtonFaceColors(window);

        const QColor face(10, 200, 30);
        EXPECT_EQ(window.palette().color(QPalette::Window), face);
        EXPECT_TRUE(window.autoFillBackground());
        EXPECT_EQ(check->palette().color(QPalette::Window), face);
        EXPECT_EQ(label->palette().color(QPalette::Window), face);
        EXPECT_TRUE(label->autoFillBackground());
        EXPECT_FALSE(edit->autoFillBackground());
        EXPECT_FALSE(button->autoFillBackground());
        EXPECT_EQ(edit->palette().color(QPalette::Base), distinct.color(QPalette::Base));
        EXPECT_FALSE(button->testAttribute(Qt::WA_SetPalette));
        EXPECT_FALSE(edit->testAttribute(Qt::WA_SetPalette));
    }
    QApplication::setPalette(original);
}

} // namespace
} // namespace velmora
