#include "SampleFiles.h"
#include "FileList.h"
#include "QStringPrinter.h"
#include "TestServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::TestServices;
using Answer = MessageBoxes::Answer;
using Buttons = MessageBoxes::Buttons;

const QString question =
    QStringLiteral("Would you like this software to open the folder where these sample files are "
                   "stored (so that you can view them before working with them)?");

// A program folder of its own in a temporary place, with sample folders made to measure.
class SampleFilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(programFolder.isValid()); }

    QString app() const { return programFolder.path(); }

    void makeFile(const QString& relative) {
        const QString path = programFolder.filePath(relative);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write("x");
    }

    void click() { PushButton4_Click(services.messages, services.shell, list, app()); }

    QTemporaryDir programFolder;
    TestServices services;
    FileList list;
};

TEST_F(SampleFilesTest, TheThreeFoldersLoadInOrderBeforeTheQuestion) {
    makeFile("Samples/a.txt");
    makeFile("Samples/1/b.txt");
    makeFile("Samples/2/c.txt");
    int countWhenAsked = -1;
    QObject::connect(&list, &FileList::rowsInserted, [&] { countWhenAsked = list.Count(); });
    services.messages.answers.push_back(Answer::No);

    click();

    EXPECT_EQ(list.paths(), QStringList({app() + "/Samples/a.txt", app() + "/Samples/1/b.txt",
                                         app() + "/Samples/2/c.txt"}));
    EXPECT_EQ(countWhenAsked, 3);
    ASSERT_EQ(services.messages.shown.size(), 1u);
    EXPECT_EQ(services.messages.shown[0].text, question);
    EXPECT_EQ(services.messages.shown[0].buttons, Buttons::YesNo);
    EXPECT_EQ(services.messages.shown[0].title, ""); // the application title
    // No keeps what was loaded and opens nothing.
    EXPECT_TRUE(services.shell.openedFolders.isEmpty());
}

TEST_F(SampleFilesTest, YesOpensTheSampleFolder) {
    makeFile("Samples/a.txt");
    services.messages.answers.push_back(Answer::Yes);
    click();
    EXPECT_EQ(services.shell.openedFolders, QStringList{app() + "/Samples/"});
    EXPECT_EQ(list.Count(), 1);
}

TEST_F(SampleFilesTest, HiddenAndTildeFilesLoadButSubfoldersAreNoEntries) {
    makeFile("Samples/~draft.txt");
    makeFile("Samples/.hidden.txt");
    makeFile("Samples/1/.hidden.txt");
    makeFile("Samples/2/x");
    services.messages.answers.push_back(Answer::No);

    click();

    // Listings are sorted without regard to case, "." before "~" and letters.
    EXPECT_EQ(list.paths(),
              QStringList({app() + "/Samples/.hidden.txt", app() + "/Samples/~draft.txt",
                           app() + "/Samples/1/.hidden.txt", app() + "/Samples/2/x"}));
}

TEST_F(SampleFilesTest, FilesThatCannotBeOpenedAreLeftOut) {
    makeFile("Samples/real.txt");
    ASSERT_TRUE(QFile::link(programFolder.filePath("Samples/nowhere"),
                            programFolder.filePath("Samples/dangling.txt")));
    services.messages.answers.push_back(Answer::No);
    click();
    EXPECT_EQ(list.paths(), QStringList{app() + "/Samples/real.txt"});
}

TEST_F(SampleFilesTest, MissingFoldersAddNothingAndTheQuestionIsStillAsked) {
    services.messages.answers.push_back(Answer::No);
    click();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(services.messages.texts(), QStringList{question});

    // Only the second folder present: it still loads.
    makeFile("Samples/1/only.txt");
    services.messages.answers.push_back(Answer::No);
    click();
    EXPECT_EQ(list.paths(), QStringList{app() + "/Samples/1/only.txt"});
}

TEST_F(SampleFilesTest, PressingTwiceListsEverySampleTwiceAfterWhatWasThere) {
    makeFile("Samples/a.txt");
    makeFile("Samples/2/c.txt");
    list.Add("/elsewhere/first.txt");
    services.messages.answers.push_back(Answer::No);
    services.messages.answers.push_back(Answer::No);
    click();
    click();
    EXPECT_EQ(list.paths(), QStringList({"/elsewhere/first.txt", app() + "/Samples/a.txt",
                                         app() + "/Samples/2/c.txt", app() + "/Samples/a.txt",
                                         app() + "/Samples/2/c.txt"}));
}

// The sample set that ships beside the program.
TEST(InstalledSamples, EveryFolderHasFilesAndTheSetHoldsAHiddenAndATildeFile) {
    const QString folder = QStringLiteral(VELMORA_SUPPORT_FILES_DIR);
    TestServices services(folder);
    FileList list;
    services.messages.answers.push_back(Answer::No);
    PushButton4_Click(services.messages, services.shell, list, folder);

    int perFolder[3] = {0, 0, 0};
    bool hidden = false;
    bool tilde = false;
    for (const QString& path : list.paths()) {
        const QString relative = path.mid(folder.size() + 1);
        if (relative.startsWith("Samples/1/"))
            ++perFolder[1];
        else if (relative.startsWith("Samples/2/"))
            ++perFolder[2];
        else if (relative.startsWith("Samples/"))
            ++perFolder[0];
        const QString name = QFileInfo(path).fileName();
        hidden = hidden || name.startsWith('.');
        tilde = tilde || name.startsWith('~');
        // A few bytes each: the samples are names to compare, not content.
        EXPECT_LT(QFileInfo(path).size(), 200) << path.toStdString();
    }
    EXPECT_GT(perFolder[0], 0);
    EXPECT_GT(perFolder[1], 0);
    EXPECT_GT(perFolder[2], 0);
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(tilde);
}

} // namespace
} // namespace velmora
