#include "AddFiles.h"
#include "QStringPrinter.h"
#include "TestServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::FakeFileDialogs;
using testing::TestServices;

const QString refusal =
    QStringLiteral("\r\rwas not added because it has bad characters in the filename.");

// "Add File(s)" against real files in a temporary folder; only the dialog is scripted.
class AddFilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QString makeFile(const QString& name) {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        return path;
    }

    void click() {
        PushButton1_Click(services.fileDialogs, services.messages, list, PathStyle::Posix);
    }

    QTemporaryDir folder;
    TestServices services;
    FileList list;
};

TEST_F(AddFilesTest, OneFileIsTakenExactlyAsTheDialogGaveIt) {
    const QString path = makeFile(QStringLiteral("a.txt"));
    services.fileDialogs.openAnswers.push_back(path);

    click();

    EXPECT_EQ(list.paths(), QStringList{path});
    EXPECT_TRUE(services.messages.shown.empty());
    ASSERT_EQ(services.fileDialogs.openAsked.size(), 1u);
    EXPECT_EQ(services.fileDialogs.openAsked[0].title,
              QStringLiteral("Add File(s) - Hold Ctrl to select multiple files"));
    EXPECT_EQ(services.fileDialogs.openAsked[0].filter, QStringLiteral("All Files (*.*)|*.*|"));
}

TEST_F(AddFilesTest, SeveralFilesAreJoinedToTheirFolderInDialogOrder) {
    makeFile(QStringLiteral("b.txt"));
    makeFile(QStringLiteral("a.txt"));
    services.fileDialogs.openAnswers.push_back(FakeFileDialogs::selection(
        folder.path(), {QStringLiteral("b.txt"), QStringLiteral("a.txt")}));

    click();

    EXPECT_EQ(list.paths(), (QStringList{folder.filePath(QStringLiteral("b.txt")),
                                         folder.filePath(QStringLiteral("a.txt"))}));
}

TEST_F(AddFilesTest, FolderEndingInSeparatorGivesOneSeparator) {
    makeFile(QStringLiteral("a.txt"));
    makeFile(QStringLiteral("b.txt"));
    // A root folder is returned with its separator, as "/" is; the join must not double it.
    services.fileDialogs.openAnswers.push_back(FakeFileDialogs::selection(
        folder.path() + QStringLiteral("/"), {QStringLiteral("a.txt"), QStringLiteral("b.txt")}));

    click();

    EXPECT_EQ(list.paths(), (QStringList{folder.filePath(QStringLiteral("a.txt")),
                                         folder.filePath(QStringLiteral("b.txt"))}));
}

TEST_F(AddFilesTest, UnreadableFileIsRefusedByNameAndTheOthersAreTaken) {
    makeFile(QStringLiteral("first.txt"));
    makeFile(QStringLiteral("third.txt"));
    services.fileDialogs.openAnswers.push_back(FakeFileDialogs::selection(
        folder.path(),
        {QStringLiteral("first.txt"), QStringLiteral("gone.txt"), QStringLiteral("third.txt")}));

    click();

    EXPECT_EQ(list.paths(), (QStringList{folder.filePath(QStringLiteral("first.txt")),
                                         folder.filePath(QStringLiteral("third.txt"))}));
    EXPECT_EQ(services.messages.texts(),
              QStringList{folder.filePath(QStringLiteral("gone.txt")) + refusal});
}

TEST_F(AddFilesTest, RefusalShowsAfterTheFilesBeforeItAreListed) {
    makeFile(QStringLiteral("first.txt"));
    services.fileDialogs.openAnswers.push_back(FakeFileDialogs::selection(
        folder.path(), {QStringLiteral("first.txt"), QStringLiteral("gone.txt")}));
    int countWhenRefused = -1;
    QObject::connect(&list, &QAbstractItemModel::rowsInserted, &list,
                     [&] { countWhenRefused = list.Count(); });

    click();

    EXPECT_EQ(countWhenRefused, 1);
    EXPECT_EQ(services.messages.shown.size(), 1u);
}

TEST_F(AddFilesTest, SingleMissingFileIsRefused) {
    const QString missing = folder.filePath(QStringLiteral("missing.txt"));
    services.fileDialogs.openAnswers.push_back(missing);

    click();

    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(services.messages.texts(), QStringList{missing + refusal});
}

TEST_F(AddFilesTest, CancelChangesNothingAndSaysNothing) {
    list.Add(QStringLiteral("/kept"));

    click(); // nothing queued: the dialog is cancelled

    EXPECT_EQ(list.paths(), QStringList{QStringLiteral("/kept")});
    EXPECT_TRUE(services.messages.shown.empty());
}

TEST_F(AddFilesTest, FileAlreadyListedIsListedAgain) {
    const QString path = makeFile(QStringLiteral("a.txt"));
    services.fileDialogs.openAnswers.push_back(path);
    services.fileDialogs.openAnswers.push_back(path);

    click();
    click();

    EXPECT_EQ(list.paths(), (QStringList{path, path}));
}

TEST_F(AddFilesTest, SelectionTooLargeAddsNothingAtAll) {
    services.fileDialogs.openAnswers.push_back(std::nullopt);

    click();

    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(services.messages.texts(),
              QStringList{QStringLiteral("You've selected too many files to add.\r\r"
                                         "Please try adding via the \"Add All\" button.")});
}

} // namespace
} // namespace velmora
