#include "Program.h"
#include "QStringPrinter.h"
#include "SettingsSandbox.h"
#include "TestServices.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace velmora {
namespace {

using testing::TestServices;
using Answer = MessageBoxes::Answer;

// The main window as the user meets it: drops onto its list, the sample button, the two
// filters and "Clear List", each through the real widgets and the program's wiring.
class ListIntakeWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::clearSettingsStore();
        ASSERT_TRUE(folder.isValid());
        program = std::make_unique<Program>(services.services(), settings, [] {});
        program->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
    }

    Form1& form() { return program->form1(); }
    FileList& list() { return form().fileList(); }

    QString make(const QString& relative) {
        const QString path = folder.filePath(relative);
        EXPECT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }

    // A drag that enters the list and is dropped there; false when the list refused it.
    bool dragAndDrop(const QMimeData& data) {
        QWidget* target = form().ListView1()->viewport();
        const QPoint at = target->rect().center();
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QCoreApplication::processEvents();
        return drop.isAccepted();
    }

    QString stored(const char* key) {
        return SettingsStore().read(QString::fromLatin1(key), QStringLiteral("<absent>"));
    }

    void filterContaining(const QString& answer) {
        services.messages.promptAnswers.push_back(answer);
        form().PushButton6()->click();
    }
    void filterNotContaining(const QString& answer) {
        services.messages.promptAnswers.push_back(answer);
        form().PushButton10()->click();
    }

    QTemporaryDir folder;
    TestServices services;
    SettingsStore settings;
    std::unique_ptr<Program> program;
};

TEST_F(ListIntakeWindowTest, DroppedFileFolderAndFileLandInThatOrder) {
    const QString first = make("first.doc");
    make("dropped/b.txt");
    make("dropped/a.odt");
    make("dropped/inner/c.txt");
    make("dropped/~$lock.doc");
    const QString last = make("last.doc");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(folder.filePath("dropped")),
                  QUrl::fromLocalFile(last)});

    ASSERT_TRUE(dragAndDrop(data));

    EXPECT_EQ(list().paths(), QStringList({first, folder.filePath("dropped/a.odt"),
                                           folder.filePath("dropped/b.txt"),
                                           folder.filePath("dropped/inner/c.txt"), last}));
    EXPECT_EQ(form().ListView1()->model()->rowCount(), 5);
    // No prompt, no message, no stored setting: the drop is not "Add All File(s) In Folder".
    EXPECT_TRUE(services.messages.prompted.empty());
    EXPECT_TRUE(services.messages.shown.empty());
    EXPECT_EQ(stored("Extension"), "<absent>");
    EXPECT_EQ(stored("LastFolder"), "<absent>");
    EXPECT_FALSE(form().pointer().isBusy());
}

TEST_F(ListIntakeWindowTest, OpenedPathsLandAsDroppingThemWould) {
    const QString file = make("given.doc"), given = folder.filePath("given");
    make("given/b.txt");
    make("given/inner/a.txt");
    const QString missing = folder.filePath("gone.txt");
    const QStringList cases[][2] = {// opened, then the same paths dropped
                                    {{given, file}, {given, file}},
                                    {{file, given}, {file, given}},
                                    {{"given/", "./given/../given.doc"}, {given, file}},
                                    {{missing, "", file}, {missing, file}}};
    const QString workingFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    for (const auto& [opened, dropped] : cases) {
        list().Clear();
        program->openPaths(opened);
        const QStringList openedList = list().paths();
        list().Clear();
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : dropped)
            urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        ASSERT_TRUE(dragAndDrop(data));
        EXPECT_EQ(openedList, list().paths()) << opened.join(' ').toStdString();
        EXPECT_FALSE(openedList.isEmpty());
    }
    QDir::setCurrent(workingFolder);
}

TEST_F(ListIntakeWindowTest, PlainTextIsRefused) {
    QMimeData data;
    data.setText(make("looks-like-a-path.txt"));
    EXPECT_FALSE(dragAndDrop(data));
    EXPECT_EQ(list().Count(), 0);
}

TEST_F(ListIntakeWindowTest, SamplesLoadInFolderOrderAndThenTheQuestionIsAsked) {
    services.messages.answers.push_back(Answer::Yes);
    form().PushButton4()->click();

    const QString samples = services.services().applicationFolder + "/Samples/";
    ASSERT_GT(list().Count(), 3);
    // Folder by folder: the top folder's files, then 1's, then 2's, never the folders.
    int stage = 0;
    for (const QString& path : list().paths()) {
        ASSERT_TRUE(path.startsWith(samples)) << path.toStdString();
        const QString relative = path.mid(samples.size());
        const int folderStage = relative.startsWith("1/") ? 1 : relative.startsWith("2/") ? 2 : 0;
        EXPECT_GE(folderStage, stage) << path.toStdString();
        stage = folderStage;
        EXPECT_TRUE(QFileInfo(path).isFile()) << path.toStdString();
    }
    EXPECT_EQ(stage, 2);
    ASSERT_EQ(services.messages.shown.size(), 1u);
    EXPECT_EQ(services.messages.shown[0].text,
              "Would you like this software to open the folder where these sample files are "
              "stored (so that you can view them before working with them)?");
    EXPECT_EQ(services.messages.shown[0].buttons, MessageBoxes::Buttons::YesNo);
    EXPECT_EQ(services.shell.openedFolders, QStringList{samples});
}

TEST_F(ListIntakeWindowTest, ReturnAndEnterPressTheFocusedButtonOnceAKeyIsDown) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        bool autoRepeat;
        int questions; // asked after this key
    };
    const Case cases[] = {
        {Qt::Key_Return, Qt::NoModifier, false, 1},
        {Qt::Key_Enter, Qt::KeypadModifier, false, 2},
        {Qt::Key_Return, Qt::NoModifier, true, 2},     // held down: no second question
        {Qt::Key_Return, Qt::ShiftModifier, false, 2}, // not a plain Return
    };
    QPushButton& samples = *form().PushButton4();
    samples.setFocus();
    for (const Case& each : cases) {
        services.messages.answers.push_back(Answer::No);
        QKeyEvent press(QEvent::KeyPress, each.key, each.modifiers, QString(), each.autoRepeat);
        QApplication::sendEvent(&samples, &press);
        QTest::qWait(250); // the button shows itself pressed for a moment first
        EXPECT_EQ(services.messages.shown.size(), static_cast<std::size_t>(each.questions))
            << each.key << " " << each.modifiers << " " << each.autoRepeat;
    }
}

TEST_F(ListIntakeWindowTest, SamplesAnsweredNoStayInTheList) {
    services.messages.answers.push_back(Answer::No);
    form().PushButton4()->click();
    const int once = list().Count();
    EXPECT_GT(once, 0);
    EXPECT_TRUE(services.shell.openedFolders.isEmpty());
    services.messages.answers.push_back(Answer::No);
    form().PushButton4()->click();
    EXPECT_EQ(list().Count(), 2 * once);
}

TEST_F(ListIntakeWindowTest, BothFiltersIgnoreCaseAndTreatDuplicatesAlike) {
    const QStringList entries = {"/Work/Temp/a.txt", "/work/data/b.txt", "/WORK/TEMP/a.txt",
                                 "/work/data/b.txt"};
    list().addMany(entries);

    filterContaining("tEmP");
    EXPECT_EQ(list().paths(), QStringList({"/work/data/b.txt", "/work/data/b.txt"}));
    EXPECT_EQ(services.messages.prompted.back().text, "Remove entries containing: ");

    list().Clear();
    list().addMany(entries);
    filterNotContaining("TEMP");
    EXPECT_EQ(list().paths(), QStringList({"/Work/Temp/a.txt", "/WORK/TEMP/a.txt"}));
    EXPECT_EQ(services.messages.prompted.back().text, "Remove entries not containing: ");
    EXPECT_EQ(form().ListView1()->model()->rowCount(), 2);
    EXPECT_FALSE(form().pointer().isBusy());
    EXPECT_TRUE(services.messages.shown.empty());
}

TEST_F(ListIntakeWindowTest, CancelledFilterPromptsChangeNothing) {
    list().addMany({"/a/one.txt", "/b/two.txt"});
    form().PushButton6()->click();  // no answer queued: cancelled
    form().PushButton10()->click(); // likewise
    filterContaining("");
    EXPECT_EQ(list().paths(), QStringList({"/a/one.txt", "/b/two.txt"}));
    EXPECT_EQ(services.messages.prompted.size(), 3u);
    EXPECT_FALSE(form().pointer().isBusy());
}

TEST_F(ListIntakeWindowTest, ClearListWaitsForTheHourglassToGo) {
    list().addMany({"/a/one.txt", "/b/two.txt"});
    form().pointer().setBusy();
    form().PushButton5()->click();
    EXPECT_EQ(list().Count(), 2);

    form().pointer().setDefault();
    form().PushButton5()->click();
    EXPECT_EQ(list().Count(), 0);
    EXPECT_EQ(form().ListView1()->model()->rowCount(), 0);
    EXPECT_TRUE(services.messages.shown.empty());
}

} // namespace
} // namespace velmora
