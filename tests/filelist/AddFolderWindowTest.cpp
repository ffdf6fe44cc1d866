#include "Form2.h"
#include "Program.h"
#include "QStringPrinter.h"
#include "SettingsSandbox.h"
#include "TemporaryTree.h"
#include "TestServices.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::TemporaryTree;
using testing::TestServices;

// "Add All File(s) In Folder" through the main window's own button and list.
class AddFolderWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::clearSettingsStore();
        program = std::make_unique<Program>(services.services(), settings, [this] { ++ended; });
        program->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&program->form1()));
    }

    TemporaryTree tree;
    TestServices services;
    SettingsStore settings;
    std::unique_ptr<Program> program;
    int ended = 0;
};

TEST_F(AddFolderWindowTest, TheButtonFillsTheListShownInTheWindow) {
    const QString a = tree.file(QStringLiteral("a.txt"));
    const QString b = tree.file(QStringLiteral("B/b.txt"));
    tree.file(QStringLiteral("B/b.doc"));
    services.messages.promptAnswers.push_back(QStringLiteral("txt"));
    services.folderBrowser.answers.push_back(tree.root());
    Form1& form = program->form1();

    form.PushButton3()->click();

    EXPECT_EQ(form.PushButton3()->text(), QStringLiteral("Add All File(s) In Folder"));
    EXPECT_EQ(form.fileList().paths(), (QStringList{a, b}));
    EXPECT_EQ(form.ListView1()->model()->rowCount(), 2);
    EXPECT_FALSE(form.pointer().isBusy());
    EXPECT_TRUE(services.messages.shown.empty());
    EXPECT_EQ(SettingsStore().read(QStringLiteral("LastFolder"), {}), tree.root());
}

// A walk takes the window's stop request at its next turn (the walk's own tests show
// that); here the request given by closing reaches both kinds of walk.
TEST_F(AddFolderWindowTest, ClosingTheWindowStopsEveryFolderWalk) {
    tree.file(QStringLiteral("a.txt"));
    tree.file(QStringLiteral("B/b.txt"));
    Form1& form = program->form1();
    form.close();
    ASSERT_EQ(ended, 1);

    services.messages.promptAnswers.push_back(QStringLiteral("txt"));
    services.folderBrowser.answers.push_back(tree.root());
    form.PushButton3()->click();
    // A closed window takes no drop; shown again, it still holds the request.
    form.show();
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(tree.root())});
    QWidget* viewport = form.ListView1()->viewport();
    QDragEnterEvent enter(viewport->rect().center(), Qt::CopyAction, &dropped, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDropEvent drop(viewport->rect().center(), Qt::CopyAction, &dropped, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    QCoreApplication::processEvents(); // the dropped folder is walked once the drop is answered
    ASSERT_TRUE(drop.isAccepted());

    EXPECT_TRUE(form.fileList().paths().isEmpty());
    EXPECT_FALSE(form.pointer().isBusy());
}

// Every file of a folder added twice matches its own copy, and nothing else here: no row may
// offer a file as a duplicate of itself.
TEST_F(AddFolderWindowTest, AFolderAddedTwiceFindsNoFileToSendAway) {
    const QStringList names{QStringLiteral("apple.txt"), QStringLiteral("B/quokka.txt"),
                            QStringLiteral("B/zebra crossing.txt")};
    for (const QString& name : names)
        tree.file(name);
    Form1& form = program->form1();
    for (int time = 0; time < 2; ++time) {
        services.messages.promptAnswers.push_back(QStringLiteral("txt"));
        services.folderBrowser.answers.push_back(tree.root());
        form.PushButton3()->click();
    }
    ASSERT_EQ(form.fileList().Count(), 6);

    form.PushButton2()->click();

    Form2& results = program->form2();
    ASSERT_EQ(results.resultsList().Count(), 3);
    EXPECT_TRUE(results.resultsList().checkedPaths().isEmpty());
    results.PushButton2().click();
    EXPECT_EQ(services.messages.texts(), QStringList{QStringLiteral("No files selected.")});
    EXPECT_EQ(results.resultsList().Count(), 3);
}

} // namespace
} // namespace velmora
