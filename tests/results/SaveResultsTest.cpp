#include "SaveResults.h"
#include "ActionsFixture.h"
#include "ClipboardText.h"
#include "ProperlySpacedText.h"
#include "ResultsListColumns.h"

#include <QBuffer>
#include <QPushButton>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace velmora {
namespace {

using testing::readBytes;
using testing::writeBytes;

struct Step {
    double value;
    QString text;
    bool busy;
};

class SaveResultsTest : public testing::ActionsFixture {
protected:
    void SetUp() override {
        ActionsFixture::SetUp();
        form->setSaveProgress([this](double value, const QString& text) {
            steps.push_back({value, text, form->pointer().isBusy()});
        });
    }

    void save(const QString& answer) {
        fakes.fileDialogs.saveAnswers.push_back(answer);
        form->PushButton6().click();
    }

    void setRows(std::vector<ResultRow> rows) { form->resultsList().setRows(std::move(rows)); }

    std::vector<Step> steps;
};

TEST_F(SaveResultsTest, TwoTickedRowsArePaddedToTheLongestPathWithATabAfterEach) {
    setRows({{QStringLiteral("/x/a.txt"), true}, {QStringLiteral("/x/dir/b.txt"), true}});
    const QString target = path(QStringLiteral("results.txt"));
    save(target);

    EXPECT_EQ(readBytes(target), QByteArray("File(s)     \t\r\n"
                                            "/x/a.txt    \t\r\n"
                                            "/x/dir/b.txt\t\r\n"));
    ASSERT_EQ(fakes.fileDialogs.saveAsked.size(), 1u);
    EXPECT_EQ(fakes.fileDialogs.saveAsked[0].title, QStringLiteral("Save"));
    EXPECT_EQ(fakes.fileDialogs.saveAsked[0].filter,
              QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Done.")});
    EXPECT_EQ(messages.shown[0].buttons, MessageBoxes::Buttons::Ok);
    EXPECT_FALSE(form->pointer().isBusy());
}

TEST_F(SaveResultsTest, ProgressRunsUnderTheHourglassWithinTheBarsScaleAndEndsIdle) {
    std::vector<ResultRow> rows;
    for (int number = 1; number <= 4000; ++number)
        rows.push_back({QStringLiteral("/p/%1").arg(number), number % 2 == 0});
    setRows(std::move(rows));
    save(path(QStringLiteral("progress.txt")));

    ASSERT_GE(steps.size(), 5u);
    EXPECT_EQ(steps.front().value, 1);
    EXPECT_EQ(steps.front().text, QStringLiteral("Writing file: progress.txt"));
    bool sawRowCount = false;
    for (const Step& step : steps) {
        EXPECT_GE(step.value, 0);
        EXPECT_LE(step.value, 100); // the last rows of a long list would reach 100.05
        EXPECT_TRUE(step.busy);
        sawRowCount |= step.text == QStringLiteral("Writing file: progress.txt (2000)");
    }
    EXPECT_TRUE(sawRowCount);
    EXPECT_EQ(steps[steps.size() - 2].text, QStringLiteral("Done."));
    EXPECT_EQ(steps.back().value, 0);
    EXPECT_EQ(steps.back().text, QStringLiteral("Progress Bar"));
}

TEST_F(SaveResultsTest, AnEmptyListAndAListWithoutTicksWriteOnlyTheHeader) {
    const QString empty = path(QStringLiteral("empty.txt"));
    save(empty);
    EXPECT_EQ(readBytes(empty), QByteArray("File(s)\t\r\n"));

    setRows({{QStringLiteral("/short"), false}, {QStringLiteral("/a/longer/path"), false}});
    const QString unticked = path(QStringLiteral("unticked.txt"));
    save(unticked);
    EXPECT_EQ(readBytes(unticked), QByteArray("File(s)       \t\r\n"));
    EXPECT_EQ(messages.texts(), (QStringList{QStringLiteral("Done."), QStringLiteral("Done.")}));
}

TEST_F(SaveResultsTest, ANameWithoutExtensionIsSavedAsTyped) {
    setRows({{QStringLiteral("/f"), true}});
    const QString target = path(QStringLiteral("no extension"));
    save(target);
    EXPECT_EQ(readBytes(target), QByteArray("File(s)\t\r\n/f     \t\r\n"));
    EXPECT_FALSE(QFile::exists(target + QStringLiteral(".txt")));
}

TEST_F(SaveResultsTest, PathsBeyondLatinAreWrittenAsUtf8) {
    const QString name = QStringLiteral("/\u00e9t\u00e9/\u6587\u4ef6.txt");
    setRows({{name, true}});
    const QString target = path(QStringLiteral("unicode.txt"));
    save(target);
    EXPECT_EQ(readBytes(target),
              (QStringLiteral("File(s)    \t\r\n") + name + QStringLiteral("\t\r\n")).toUtf8());
}

TEST_F(SaveResultsTest, CancellingTheDialogDoesNothing) {
    setRows({{QStringLiteral("/f"), true}});
    form->PushButton6().click(); // no answer queued: cancelled
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(steps.empty());
    EXPECT_FALSE(form->pointer().isBusy());
}

TEST_F(SaveResultsTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysYes) {
    setRows({{QStringLiteral("/new"), true}});
    const QString target = path(QStringLiteral("existing.txt"));
    ASSERT_TRUE(writeBytes(target, "old contents\n"));

    messages.answers.push_back(MessageBoxes::Answer::No);
    save(target);
    EXPECT_EQ(readBytes(target), QByteArray("old contents\n"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Are you sure you wish to overwrite ") +
                                          target + QStringLiteral(" ?"));
    EXPECT_EQ(messages.shown[0].buttons, MessageBoxes::Buttons::YesNo);
    EXPECT_TRUE(steps.empty());

    messages.answers.push_back(MessageBoxes::Answer::Yes);
    save(target);
    EXPECT_EQ(readBytes(target), QByteArray("File(s)\t\r\n/new   \t\r\n"));
    EXPECT_EQ(messages.texts().last(), QStringLiteral("Done."));
}

TEST_F(SaveResultsTest, AFileThatCannotBeCreatedGivesOneMessageAndNoDone) {
    std::vector<ResultRow> rows;
    for (int number = 0; number < 50; ++number)
        rows.push_back({QStringLiteral("/r%1").arg(number), true});
    setRows(std::move(rows));
    const QString target = path(QStringLiteral("no such folder/out.txt"));
    save(target);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(target)) << messages.shown[0].text.toStdString();
    EXPECT_NE(messages.shown[0].text, QStringLiteral("Done."));
    EXPECT_GT(messages.shown[0].text.size(), target.size() + 20); // a reason follows the name
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_FALSE(form->pointer().isBusy());
    EXPECT_EQ(steps.back().text, QStringLiteral("Progress Bar"));
}

// Yes could not replace any of these, so the overwrite question is not asked.
TEST_F(SaveResultsTest, WhatIsNotAPlainFileIsRefusedBeforeTheOverwriteQuestion) {
    setRows({{QStringLiteral("/r"), true}});
    // Short, since a socket's path may not pass 107 bytes.
    const QTemporaryDir nodes(QDir::tempPath() + QStringLiteral("/velmora-XXXXXX"));
    ASSERT_TRUE(nodes.isValid());
    const QString folder = nodes.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/inside")));
    const QString pipe = nodes.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0666), 0);
    const QString socketPath = nodes.filePath(QStringLiteral("socket"));
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(socketPath).constData(), sizeof address.sun_path);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(listener);
    const QString linkToFolder = nodes.filePath(QStringLiteral("link to folder"));
    const QString linkToDevice = nodes.filePath(QStringLiteral("link to device"));
    ASSERT_TRUE(QFile::link(folder, linkToFolder));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), linkToDevice));
    const QString linkInALoop = nodes.filePath(QStringLiteral("loop"));
    ASSERT_EQ(symlink("loop", QFile::encodeName(linkInALoop).constData()), 0);

    for (const QString& target :
         {folder, pipe, socketPath, linkToFolder, linkToDevice, linkInALoop}) {
        SCOPED_TRACE(target.toStdString());
        messages.shown.clear();
        steps.clear();
        const QByteArray native = QFile::encodeName(target);
        struct stat before {};
        ASSERT_EQ(lstat(native.constData(), &before), 0);
        save(target);

        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text,
                  target + QStringLiteral(" is not a regular file. Nothing was written; "
                                          "choose another name."));
        EXPECT_EQ(messages.shown[0].icon, MessageBoxes::Icon::Exclamation);
        EXPECT_TRUE(steps.empty());
        struct stat after {};
        ASSERT_EQ(lstat(native.constData(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
    }
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("/inside")).isDir());
    EXPECT_FALSE(form->pointer().isBusy());
}

// velmora-find writes its text and clipboard formats with the same writers to its output;
// what it prints must be exactly what the window saves and copies.
TEST_F(SaveResultsTest, TheWindowsFileAndClipboardMatchTheFinderOutputByteForByte) {
    setRows({{QStringLiteral("/a/one.txt"), false},
             {QStringLiteral("/a/b/one copy.txt"), true},
             {QStringLiteral("/\u00e9/one (2).txt "), true}});
    const QString target = path(QStringLiteral("same.txt"));
    save(target);
    form->PushButton18().click();

    const ResultsListColumns columns(form->resultsList());
    QBuffer text;
    text.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writeProperlySpaced(columns, text).ok);
    EXPECT_EQ(readBytes(target), text.data());
    QBuffer clipboard;
    clipboard.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writeClipboardText(columns, clipboard).ok);
    EXPECT_EQ(fakes.clipboard.text.toUtf8(), clipboard.data());
    // A path ending in a blank is copied whole.
    EXPECT_TRUE(fakes.clipboard.text.endsWith(QStringLiteral(".txt \r\n")));
}

} // namespace
} // namespace velmora
