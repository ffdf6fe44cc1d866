#include "SaveResults.h"
#include "ActionsFixture.h"
#include "ClipboardText.h"
#include "ProperlySpacedText.h"
#include "ResultsListColumns.h"

#include <QBuffer>
#include <QPushButton>

#include <gtest/gtest.h>

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

TEST_F(SaveResultsTest, AFolderInPlaceOfTheFileIsLeftAsItWas) {
    setRows({{QStringLiteral("/r"), true}});
    const QString target = path(QStringLiteral("a folder"));
    ASSERT_TRUE(QDir().mkpath(target + QStringLiteral("/inside")));
    save(target); // asked first, since the name is present; Yes by default
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.shown[1].text.contains(target));
    EXPECT_NE(messages.shown[1].text, QStringLiteral("Done."));
    EXPECT_TRUE(QFileInfo(target + QStringLiteral("/inside")).isDir());
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
