#include "RowContextMenu.h"
#include "ClipboardRetry.h"
#include "Form2.h"
#include "QStringPrinter.h"
#include "TemporaryTree.h"
#include "TestServices.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTableView>
#include <QTest>

#include <functional>

namespace velmora {
namespace {

class RowContextMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        first = tree.file("one/report.txt");
        second = tree.file("two/report.txt");
        form.resultsList().setRows({{first, false}, {second, true}});
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    void TearDown() override {
        if (QMenu* menu = openMenu())
            menu->close();
    }

    QWidget* viewport() { return form.ListView1().viewport(); }

    void rightClick(QPoint at) {
        // Through the window, as the window system delivers it: only there does a right
        // click become a menu request.
        QTest::mouseClick(form.windowHandle(), Qt::RightButton, Qt::NoModifier,
                          viewport()->mapTo(&form, at));
    }

    static QMenu* openMenu() {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* menu = qobject_cast<QMenu*>(widget); menu && menu->isVisible())
                return menu;
        return nullptr;
    }

    // Opens the second row's menu and triggers the action with this caption.
    void choose(const QString& caption) {
        rightClick(form.ListView1().visualRect(form.resultsList().index(1, 0)).center());
        QMenu* menu = openMenu();
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            if (action->text() == caption) {
                menu->close(); // as a click on it does, before the action runs
                return action->trigger();
            }
        FAIL() << caption.toStdString();
    }

    testing::TemporaryTree tree;
    testing::TestServices fakes;
    Form2 form{fakes.services(), [] {}};
    QString first;
    QString second;
};

TEST_F(RowContextMenuTest, RightClickAndMenuKeysOfferTheActionsForTheirRow) {
    const std::vector<std::pair<const char*, std::function<void()>>> openers{
        {"right click",
         [&] { rightClick(form.ListView1().visualRect(form.resultsList().index(1, 0)).center()); }},
        {"Menu key", [&] { QTest::keyClick(&form.ListView1(), Qt::Key_Menu); }},
        {"Shift+F10", [&] { QTest::keyClick(&form.ListView1(), Qt::Key_F10, Qt::ShiftModifier); }},
        {"keyboard request",
         [&] {
             QContextMenuEvent request(QContextMenuEvent::Keyboard, {}, {});
             QApplication::sendEvent(&form.ListView1(), &request);
         }},
    };
    for (const auto& [name, open] : openers) {
        SCOPED_TRACE(name);
        form.ListView1().setCurrentIndex(form.resultsList().index(1, 0));
        fakes.clipboard.text.clear();
        open();
        QMenu* menu = openMenu();
        ASSERT_NE(menu, nullptr);
        QStringList captions;
        for (QAction* action : menu->actions())
            captions << action->text();
        EXPECT_EQ(captions, (QStringList{"Open", "Open Containing Folder", "Copy Path"}));
        // The Menu key may also arrive as a menu request: still the one menu.
        QContextMenuEvent again(QContextMenuEvent::Keyboard, {}, {});
        QApplication::sendEvent(&form.ListView1(), &again);
        EXPECT_EQ(openMenu(), menu);
        menu->actions().at(2)->trigger();
        EXPECT_EQ(fakes.clipboard.text, second);
        menu->close();
    }
    EXPECT_EQ(form.resultsList().checkedPaths(), QStringList{second}); // ticks stay
    EXPECT_TRUE(fakes.messages.shown.empty());
}

TEST_F(RowContextMenuTest, NoMenuBelowTheRowsOrWithoutACurrentRow) {
    const QRect last = form.ListView1().visualRect(form.resultsList().index(1, 0));
    rightClick({last.center().x(), last.bottom() + last.height()});
    EXPECT_EQ(openMenu(), nullptr);
    form.ListView1().setCurrentIndex({});
    QTest::keyClick(&form.ListView1(), Qt::Key_Menu);
    EXPECT_EQ(openMenu(), nullptr);
}

TEST_F(RowContextMenuTest, ActionsReachTheDesktopOrSayWhatWentWrong) {
    struct Case {
        const char* caption;
        std::function<void()> arrange;
        QStringList testing::FakeDesktopShell::*received;
        QStringList expectedReceived;
        QString expectedMessage;
    };
    const std::vector<Case> cases{
        {"Open", [] {}, &testing::FakeDesktopShell::openedFiles, {second}, {}},
        {"Open",
         [&] { fakes.shell.failOpenFile = true; },
         &testing::FakeDesktopShell::openedFiles,
         {second},
         RowContextMenu::noProgramToOpenText(second)},
        {"Open",
         [&] { QFile::remove(second); },
         &testing::FakeDesktopShell::openedFiles,
         {},
         RowContextMenu::noLongerThereText(second)},
        {"Open Containing Folder", [] {}, &testing::FakeDesktopShell::shownItems, {second}, {}},
        {"Open Containing Folder",
         [&] { QFile::remove(second); },
         &testing::FakeDesktopShell::shownItems,
         {},
         RowContextMenu::noLongerThereText(second)},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.expectedMessage.toStdString());
        tree.file("two/report.txt");
        fakes.shell.*test.received = {};
        fakes.shell.failOpenFile = false;
        fakes.messages.shown.clear();
        test.arrange();
        choose(test.caption);
        EXPECT_EQ(fakes.shell.*test.received, test.expectedReceived);
        EXPECT_EQ(fakes.messages.texts(), test.expectedMessage.isEmpty()
                                              ? QStringList{}
                                              : QStringList{test.expectedMessage});
    }
}

TEST_F(RowContextMenuTest, CopyPathWaitsOutAHeldClipboardAndSaysWhenItNeverFrees) {
    // Held for a while: the path arrives, without a word.
    fakes.clipboard.failingSets = kClipboardAttempts - 1;
    choose("Copy Path");
    EXPECT_EQ(fakes.clipboard.text, second);
    EXPECT_TRUE(fakes.messages.shown.empty());

    fakes.clipboard = {};
    fakes.clipboard.failingSets = kClipboardAttempts;
    choose("Copy Path");
    EXPECT_TRUE(fakes.clipboard.text.isEmpty());
    EXPECT_EQ(fakes.messages.texts(), QStringList{RowContextMenu::clipboardHeldText()});
}

} // namespace
} // namespace velmora
