#include "HoverPointerRules.h"
#include "QStringPrinter.h"
#include "WindowPointer.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace velmora {
namespace {

QString resource(const char* name) {
    return QStringLiteral(VELMORA_SOURCE_DIR "/resources/") + QLatin1String(name);
}

// A cursor directory with one entry per (width, hot spot).
QByteArray cursorDirectory(std::initializer_list<std::pair<int, QPoint>> entries, int type = 2) {
    QByteArray bytes;
    const auto word = [&bytes](int value) {
        bytes.append(static_cast<char>(value & 0xff));
        bytes.append(static_cast<char>((value >> 8) & 0xff));
    };
    word(0);
    word(type);
    word(static_cast<int>(entries.size()));
    for (const auto& [width, hotSpot] : entries) {
        bytes.append(static_cast<char>(width % 256));
        bytes.append(static_cast<char>(width % 256));
        bytes.append(2, '\0');
        word(hotSpot.x());
        word(hotSpot.y());
        bytes.append(8, '\0');
    }
    return bytes;
}

TEST(CursorHotSpot, IsTakenFromTheEntryOfTheLoadedSize) {
    const QByteArray two = cursorDirectory({{16, QPoint(1, 2)}, {32, QPoint(5, 7)}});
    EXPECT_EQ(cursorHotSpot(two, QSize(32, 32)), QPoint(5, 7));
    EXPECT_EQ(cursorHotSpot(two, QSize(16, 16)), QPoint(1, 2));
    EXPECT_EQ(cursorHotSpot(two, QSize(48, 48)), QPoint(1, 2)); // no match: the first
    EXPECT_EQ(cursorHotSpot(cursorDirectory({{256, QPoint(9, 9)}}), QSize(256, 256)),
              QPoint(9, 9)); // a stored width of 0 stands for 256
}

TEST(CursorHotSpot, IconsAndOtherDataHaveNone) {
    EXPECT_FALSE(cursorHotSpot(cursorDirectory({{32, QPoint(5, 7)}}, 1), QSize(32, 32)));
    EXPECT_FALSE(cursorHotSpot(QByteArray(), QSize(32, 32)));
    EXPECT_FALSE(cursorHotSpot(QByteArray("\x89PNG\r\n\x1a\n"), QSize(32, 32)));
    // A directory cut short promises entries it does not hold.
    EXPECT_FALSE(cursorHotSpot(cursorDirectory({{32, QPoint(5, 7)}}).left(10), QSize(32, 32)));
}

TEST(PointerImages, OurCursorAndIconLoadWithTheirHotSpots) {
    QCursor hand;
    ASSERT_TRUE(loadPointerImage(resource("HAND-M.CUR"), hand));
    EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
    EXPECT_EQ(hand.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(hand.hotSpot(), QPoint(5, 0)); // the fingertip
    // The fingertip itself is drawn, the corner beside it is transparent.
    const QImage image = hand.pixmap().toImage();
    EXPECT_EQ(qAlpha(image.pixel(5, 0)), 255);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);

    QCursor drag;
    ASSERT_TRUE(loadPointerImage(resource("drag.ico"), drag));
    EXPECT_EQ(drag.hotSpot(), QPoint(0, 0));
}

TEST(PointerImages, MissingOrDamagedFilesAreRefused) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QCursor cursor(Qt::CrossCursor);
    EXPECT_FALSE(loadPointerImage(folder.filePath("missing.cur"), cursor));
    QFile damaged(folder.filePath("damaged.cur"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(cursorDirectory({{32, QPoint(3, 3)}}) + QByteArray(40, 'x'));
    damaged.close();
    EXPECT_FALSE(loadPointerImage(damaged.fileName(), cursor));
    EXPECT_EQ(cursor.shape(), Qt::CrossCursor); // left as it was
}

class HoverRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(300, 200);
        button = new QPushButton(QStringLiteral("Go"), &window);
        button->setGeometry(10, 10, 100, 30);
        text = new QLineEdit(&window);
        text->setGeometry(10, 50, 100, 30);
        check = new QCheckBox(QStringLiteral("Option"), &window);
        check->setGeometry(10, 90, 100, 30);
        pointer.loadCustomShape(resource("HAND-M.CUR"));
        rules.watch(&window, HoverPointerRules::Role::Other);
        rules.watch(button, HoverPointerRules::Role::Button);
        rules.watch(text, HoverPointerRules::Role::Other);
    }

    static void moveOver(QWidget* widget) {
        const QPointF local(widget->width() / 2.0, widget->height() / 2.0);
        QMouseEvent move(QEvent::MouseMove, local, widget->mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    // A window keeps its cursor attribute when the cursor is unset; the shape tells.
    bool showsDefault() const { return window.cursor().shape() == Qt::ArrowCursor; }

    bool showsHand() const {
        return window.testAttribute(Qt::WA_SetCursor) &&
               window.cursor().shape() == Qt::BitmapCursor;
    }

    QWidget window;
    QPushButton* button = nullptr;
    QLineEdit* text = nullptr;
    QCheckBox* check = nullptr;
    WindowPointer pointer{window};
    HoverPointerRules rules{pointer};
};

TEST_F(HoverRulesTest, ButtonsShowTheHandAndOtherControlsTheDefault) {
    ASSERT_TRUE(pointer.hasCustomShape());
    moveOver(button);
    EXPECT_TRUE(showsHand());
    moveOver(text);
    EXPECT_TRUE(showsDefault());
    moveOver(button);
    moveOver(&window);
    EXPECT_TRUE(showsDefault());
}

TEST_F(HoverRulesTest, AMoveTheButtonPassesOnDoesNotUndoTheHand) {
    // The button ignores plain moves, so the window sees the same move afterwards.
    moveOver(button);
    EXPECT_TRUE(showsHand());
}

TEST_F(HoverRulesTest, UnwatchedControlsChangeNothing) {
    moveOver(button);
    moveOver(check);
    EXPECT_TRUE(showsHand());
}

TEST_F(HoverRulesTest, TheHourglassIsLeftAloneWhileBusy) {
    pointer.setBusy();
    moveOver(button);
    EXPECT_TRUE(pointer.isBusy());
    moveOver(text);
    moveOver(&window);
    EXPECT_TRUE(pointer.isBusy());
    pointer.setDefault();
    moveOver(button);
    EXPECT_TRUE(showsHand());
}

TEST_F(HoverRulesTest, WithoutAHandTheButtonsShowTheDefault) {
    WindowPointer plain(window);
    plain.loadCustomShape(QStringLiteral("/nonexistent/HAND-M.CUR"));
    EXPECT_FALSE(plain.hasCustomShape());
    HoverPointerRules plainRules(plain);
    QPushButton other(&window);
    plainRules.watch(&other, HoverPointerRules::Role::Button);
    window.setCursor(Qt::CrossCursor);
    moveOver(&other);
    EXPECT_TRUE(showsDefault());
}

} // namespace
} // namespace velmora
