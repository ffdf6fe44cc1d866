#include "Program.h"
#include "QStringPrinter.h"
#include "SettingsSandbox.h"
#include "TemporaryTree.h"
#include "TestServices.h"

#include <QPushButton>
#include <QTest>

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
        program = std::make_unique<Program>(services.services(), settings, [] {});
        program->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&program->form1()));
    }

    TemporaryTree tree;
    TestServices services;
    SettingsStore settings;
    std::unique_ptr<Program> program;
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

} // namespace
} // namespace velmora
