#include "AddFolder.h"
#include "QStringPrinter.h"
#include "SettingsSandbox.h"
#include "TemporaryTree.h"
#include "TestServices.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::TemporaryTree;
using testing::TestServices;

const QString extensionPrompt =
    QStringLiteral("Enter file extension to load:\r\r(* for all files, txt for all txt files, "
                   "doc for all doc files, etc.)");

// "Add All File(s) In Folder" with the real settings store and real folders; only the
// prompt and the folder browser are scripted.
class AddFolderTest : public ::testing::Test {
protected:
    void SetUp() override { testing::clearSettingsStore(); }

    void click() {
        PushButton3_Click(services.messages, services.folderBrowser, settings, pointer, list,
                          PathStyle::Posix);
    }

    void answer(const QString& extension, const QString& folder = {}) {
        services.messages.promptAnswers.push_back(extension);
        if (!folder.isNull())
            services.folderBrowser.answers.push_back(folder);
    }

    TestServices services;
    SettingsStore settings;
    QWidget window;
    WindowPointer pointer{window};
    FileList list;
    TemporaryTree tree;
};

TEST_F(AddFolderTest, AFreshUserIsOfferedEveryFileAndTheBrowserAtItsOwnStart) {
    tree.file(QStringLiteral("a.txt"));
    tree.file(QStringLiteral("B/b"));
    answer(QStringLiteral("*"), tree.root());

    click();

    ASSERT_EQ(services.messages.prompted.size(), 1u);
    EXPECT_EQ(services.messages.prompted[0].text, extensionPrompt);
    EXPECT_EQ(services.messages.prompted[0].defaultAnswer, QStringLiteral("*"));
    EXPECT_TRUE(services.messages.prompted[0].title.isEmpty());
    ASSERT_EQ(services.folderBrowser.asked.size(), 1u);
    EXPECT_EQ(services.folderBrowser.asked[0].prompt, QStringLiteral("Please select folder:"));
    EXPECT_TRUE(services.folderBrowser.asked[0].startFolder.isEmpty());
    EXPECT_EQ(list.paths(),
              (QStringList{tree.path(QStringLiteral("a.txt")), tree.path(QStringLiteral("B/b"))}));
    EXPECT_TRUE(services.messages.shown.empty());
    EXPECT_FALSE(pointer.isBusy());
}

TEST_F(AddFolderTest, BothAnswersAreOfferedNextTime) {
    const QString other = tree.folder(QStringLiteral("other"));
    answer(QStringLiteral("doc"), tree.root());
    answer(QStringLiteral("txt"), other);

    click();
    click();

    ASSERT_EQ(services.messages.prompted.size(), 2u);
    EXPECT_EQ(services.messages.prompted[1].defaultAnswer, QStringLiteral("doc"));
    EXPECT_EQ(services.folderBrowser.asked[1].startFolder, tree.root());
    EXPECT_EQ(settings.read(QStringLiteral("Extension"), {}), QStringLiteral("txt"));
    EXPECT_EQ(settings.read(QStringLiteral("LastFolder"), {}), other);
}

TEST_F(AddFolderTest, ACancelledPromptStoresNothingAndAsksForNoFolder) {
    settings.write(QStringLiteral("Extension"), QStringLiteral("doc"));
    answer(QString());

    click();

    EXPECT_EQ(services.messages.prompted.at(0).defaultAnswer, QStringLiteral("doc"));
    EXPECT_TRUE(services.folderBrowser.asked.empty());
    EXPECT_EQ(settings.read(QStringLiteral("Extension"), {}), QStringLiteral("doc"));
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(AddFolderTest, ACancelledBrowserKeepsTheTypedExtension) {
    tree.file(QStringLiteral("a.txt"));
    settings.write(QStringLiteral("LastFolder"), tree.root());
    answer(QStringLiteral("txt")); // the browser has no answer: cancelled
    answer(QStringLiteral("txt"));

    click();
    click();

    EXPECT_EQ(settings.read(QStringLiteral("Extension"), {}), QStringLiteral("txt"));
    EXPECT_EQ(services.messages.prompted.at(1).defaultAnswer, QStringLiteral("txt"));
    EXPECT_EQ(settings.read(QStringLiteral("LastFolder"), {}), tree.root());
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(pointer.isBusy());
}

TEST_F(AddFolderTest, LoadingTheSameFolderTwiceListsEveryFileTwice) {
    const QString a = tree.file(QStringLiteral("a.txt"));
    const QString b = tree.file(QStringLiteral("sub/b.txt"));
    tree.file(QStringLiteral("sub/~b.txt"));
    answer(QStringLiteral("txt"), tree.root());
    answer(QStringLiteral("txt"), tree.root());

    click();
    click();

    EXPECT_EQ(list.paths(), (QStringList{a, b, a, b}));
}

TEST_F(AddFolderTest, FilesAreAddedAfterWhatTheListHeld) {
    list.Add(QStringLiteral("/earlier/entry"));
    const QString a = tree.file(QStringLiteral("a.txt"));
    answer(QStringLiteral("TXT"), tree.root());

    click();

    EXPECT_EQ(list.paths(), (QStringList{QStringLiteral("/earlier/entry"), a}));
}

TEST_F(AddFolderTest, AnEmptyFolderAddsNothingAndRestoresThePointer) {
    answer(QStringLiteral("*"), tree.folder(QStringLiteral("empty")));

    click();

    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(services.messages.shown.empty());
    EXPECT_FALSE(pointer.isBusy());
}

} // namespace
} // namespace velmora
