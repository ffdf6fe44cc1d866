#include "RowContextMenu.h"
#include "Form2.h"
#include "QStringPrinter.h"
#include "TemporaryTree.h"
#include "TestServices.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QTableView>
#include <QTest>

#include <functional>

namespace velmora {
namespace {

class RowContextMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.resultsList().setRows({{tree.file("one/a.txt"), false}, {path, true}});
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        view.setCurrentIndex(form.resultsList().index(1, 0));
    }

    // Through the window, as the window system delivers it: only there does a right click
    // become a menu request. A row below the last one is empty space.
    QMenu* rightClickLastRow(int rowsBelow = 0) {
        const QRect row = view.visualRect(form.resultsList().index(1, 0));
        const QPoint at = view.viewport()->mapTo(&form, row.center());
        QTest::mouseClick(form.windowHandle(), Qt::RightButton, {},
                          at + QPoint(0, rowsBelow * row.height()));
        return openMenu();
    }

    static QMenu* openMenu() {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* menu = qobject_cast<QMenu*>(widget); menu && menu->isVisible())
                return menu;
        return nullptr;
    }

    testing::TemporaryTree tree;
    const QString path = tree.file("two/a.txt");
    testing::TestServices fakes;
    Form2 form{fakes.services(), [] {}};
    QTableView& view = form.ListView1();
};

TEST_F(RowContextMenuTest, OpensForTheRowClickedOrTheCurrentRowAndNowhereElse) {
    const auto pressMenuKey = [&] {
        QTest::keyClick(&view, Qt::Key_Menu);
        return openMenu();
    };
    const std::vector<std::function<QMenu*()>> openers{[&] { return rightClickLastRow(); },
                                                       pressMenuKey};
    for (const auto& open : openers) {
        QMenu* menu = open();
        ASSERT_NE(menu, nullptr);
        QStringList captions;
        for (QAction* action : menu->actions())
            captions << action->text();
        EXPECT_EQ(captions, (QStringList{"Open", "Open Containing Folder", "Copy Path"}));
        menu->close();
    }
    EXPECT_EQ(rightClickLastRow(1), nullptr);
}

TEST_F(RowContextMenuTest, ActionsReachTheDesktopOrSayWhatWentWrong) {
    const auto opened = [&] { return fakes.shell.openedFiles.join('|'); };
    struct Case {
        int action;
        std::function<void()> arrange;
        std::function<QString()> received;
        QString message;
    };
    const std::vector<Case> cases{
        {0, [] {}, opened, {}},
        {1, [] {}, [&] { return fakes.shell.shownItems.join('|'); }, {}},
        {2, [] {}, [&] { return fakes.clipboard.text; }, {}},
        {0, [&] { QFile::remove(path); }, opened, RowContextMenu::noLongerThereText(path)},
    };
    for (const Case& test : cases) {
        fakes.shell = {};
        fakes.clipboard = {};
        fakes.messages.shown.clear();
        test.arrange();
        QAction* action = rightClickLastRow()->actions().at(test.action);
        openMenu()->close(); // as a click on it does, before the action runs
        action->trigger();
        EXPECT_EQ(test.received(), test.message.isEmpty() ? path : QString());
        EXPECT_EQ(fakes.messages.texts(),
                  test.message.isEmpty() ? QStringList{} : QStringList{test.message});
    }
}

} // namespace
} // namespace velmora
