#include "Program.h"
#include "QStringPrinter.h"
#include "SettingsSandbox.h"
#include "TestServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace velmora {
namespace {

using testing::FakeFileDialogs;
using testing::TestServices;

// The whole main job through the windows: files picked in the (fake) dialog, "Start
// Finding", and what each window shows afterwards.
class SearchRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::clearSettingsStore();
        ASSERT_TRUE(folder.isValid());
        program = std::make_unique<Program>(services.services(), settings, [this] { ++endCalls; });
        program->show();
    }

    QString makeFile(const QString& name) {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }

    // Creates the files and picks them all in one go in the open dialog.
    void addFiles(const QStringList& names) {
        for (const QString& name : names)
            makeFile(name);
        services.fileDialogs.openAnswers.push_back(
            FakeFileDialogs::selection(folder.path(), names));
        program->form1().PushButton1()->click();
    }

    void startFinding() { program->form1().PushButton2()->click(); }

    // The rows' paths and ticks; why each one matched is the engine's own test.
    std::vector<ResultRow> shownRows() {
        std::vector<ResultRow> rows;
        for (const ResultRow& shown : program->form2().resultsList().rows())
            rows.push_back({shown.path, shown.checked});
        return rows;
    }

    ResultRow row(const QString& name, bool checked) { return {folder.filePath(name), checked}; }

    QTemporaryDir folder;
    TestServices services;
    SettingsStore settings;
    std::unique_ptr<Program> program;
    int endCalls = 0;
};

TEST_F(SearchRunTest, SimilarNamesShowInResultsWindowInPlaceOfMainWindow) {
    addFiles({"holiday1.jpg", "holiday2.jpg", "notes.md"});
    ASSERT_EQ(program->form1().fileList().Count(), 3);

    startFinding();

    EXPECT_TRUE(services.messages.shown.empty())
        << services.messages.texts().join("|").toStdString();
    ASSERT_TRUE(program->hasForm2());
    EXPECT_TRUE(program->form2().isVisible());
    EXPECT_FALSE(program->form1().isVisible());
    EXPECT_EQ(shownRows(),
              (std::vector<ResultRow>{row("holiday1.jpg", false), row("holiday2.jpg", true)}));

    // Coming back finds the main window idle again, with both lists as they were.
    program->form2().PushButton1().click();
    EXPECT_TRUE(program->form1().isVisible());
    EXPECT_FALSE(program->form2().isVisible());
    EXPECT_EQ(program->form1().ProgressBar1()->value(), 0);
    EXPECT_EQ(program->form1().ProgressBar1()->text(), QStringLiteral("Progress Bar"));
    EXPECT_FALSE(program->form1().pointer().isBusy());
    EXPECT_FALSE(program->searchRun().SearchRunning());
    EXPECT_EQ(program->form1().fileList().Count(), 3);
    EXPECT_EQ(shownRows().size(), 2u);
}

TEST_F(SearchRunTest, GroupOfAlikeNamesTicksOnlyTheLastInListOrder) {
    addFiles({"report-a.txt", "report-b.txt", "report-c.txt"});

    startFinding();

    EXPECT_EQ(shownRows(),
              (std::vector<ResultRow>{row("report-a.txt", false), row("report-b.txt", false),
                                      row("report-c.txt", true)}));
}

TEST_F(SearchRunTest, OptionModeFollowsTheTickedOptions) {
    addFiles({"photo.jpg", "photo.png", "PHOTO.gif"});
    program->form1().Check3()->click(); // drop the extension: keys photo, photo, PHOTO

    startFinding();

    EXPECT_EQ(shownRows(),
              (std::vector<ResultRow>{row("photo.jpg", false), row("photo.png", true)}));
}

// A folder added, then a link to it: each file is in the list twice, under two paths, and
// is no duplicate of itself, so nothing is ticked for the trash.
TEST_F(SearchRunTest, AFolderAndALinkToItLeaveNothingToSendToTheTrash) {
    const QString only = makeFile("only.doc");
    const QString link = folder.filePath("link");
    ASSERT_TRUE(QFile::link(folder.path(), link));
    for (const QString& added : {folder.path(), link}) {
        services.messages.promptAnswers.push_back(QStringLiteral("doc"));
        services.folderBrowser.answers.push_back(added);
        program->form1().PushButton3()->click();
    }
    ASSERT_EQ(program->form1().fileList().Count(), 2);

    startFinding();
    EXPECT_EQ(shownRows(), (std::vector<ResultRow>{{only, false}, {link + "/only.doc", false}}));
    program->form2().PushButton2().click();

    EXPECT_EQ(services.messages.texts(), QStringList{QStringLiteral("No files selected.")});
    EXPECT_TRUE(QFile::exists(only));
}

TEST_F(SearchRunTest, EmptyListSaysSoAndStillEmptiesEarlierResults) {
    addFiles({"a.txt", "b.txt"});
    startFinding();
    ASSERT_EQ(shownRows().size(), 2u);
    program->form2().PushButton1().click();
    program->form1().fileList().Clear();

    startFinding();

    EXPECT_EQ(services.messages.texts(), QStringList{QStringLiteral("No files added.")});
    EXPECT_TRUE(shownRows().empty());
    EXPECT_TRUE(program->form1().isVisible());
    EXPECT_FALSE(program->form2().isVisible());
    EXPECT_FALSE(program->searchRun().SearchRunning());
}

TEST_F(SearchRunTest, NothingAlikeSaysSoAndKeepsTheMainWindow) {
    addFiles({"alpha.doc", "quiz.md"});
    double valueWhileShown = -1;
    QString textWhileShown;
    services.messages.whileShown = [&] {
        valueWhileShown = program->form1().ProgressBar1()->value();
        textWhileShown = program->form1().ProgressBar1()->text();
    };

    startFinding();

    EXPECT_EQ(services.messages.texts(), QStringList{QStringLiteral("No duplicate files found.")});
    EXPECT_TRUE(program->form1().isVisible());
    EXPECT_FALSE(program->form2().isVisible());
    EXPECT_EQ(program->form1().fileList().Count(), 2);
    // While the message shows, the bar holds what the last pair position left.
    EXPECT_DOUBLE_EQ(valueWhileShown, 50);
    EXPECT_EQ(textWhileShown, "Comparing: " + folder.filePath("quiz.md"));
    EXPECT_EQ(services.messages.shown[0].parent, &program->form1());
    EXPECT_EQ(program->form1().ProgressBar1()->text(), QStringLiteral("Progress Bar"));
    EXPECT_DOUBLE_EQ(program->form1().ProgressBar1()->value(), 0);
    EXPECT_FALSE(program->form1().pointer().isBusy());
}

TEST_F(SearchRunTest, EachWindowTakesTheOthersPlace) {
    Form1& main = program->form1();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Centred before the window system adds its frame: give or take the frame.
    EXPECT_LE((main.frameGeometry().center() - screen.center()).manhattanLength(), 8);

    addFiles({"a.txt", "b.txt"});
    main.move(main.pos() + QPoint(-30, 20)); // wherever the user put it
    startFinding();
    Form2& results = program->form2();
    EXPECT_EQ(results.pos(), main.pos());

    results.move(results.pos() + QPoint(45, -10));
    results.PushButton1().click();
    EXPECT_EQ(main.pos(), results.pos());

    // Both windows carry the icon in every size a desktop asks for.
    const QList<QSize> sizes{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    EXPECT_EQ(main.windowIcon().availableSizes(), sizes);
    EXPECT_EQ(results.windowIcon().availableSizes(), sizes);
}

TEST_F(SearchRunTest, ANewRunStartsAtTheTopLeftOfItsList) {
    QStringList names;
    for (int number = 1; number <= 40; ++number)
        names << QStringLiteral("holiday%1.jpg").arg(number);
    addFiles(names);
    startFinding();
    QTableView& view = program->form2().ListView1();
    view.horizontalHeader()->resizeSection(0, 3 * view.viewport()->width());
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.horizontalScrollBar()->maximum() > 0; }, 2000));
    view.scrollToBottom();
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
    ASSERT_GT(view.verticalScrollBar()->value(), 0);
    ASSERT_GT(view.horizontalScrollBar()->value(), 0);

    program->form2().PushButton1().click();
    startFinding();

    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
    EXPECT_EQ(view.horizontalScrollBar()->value(), 0);
}

TEST_F(SearchRunTest, SamePathTwiceIsListedOnceAndNotTicked) {
    addFiles({"only.txt"});
    services.fileDialogs.openAnswers.push_back(folder.filePath("only.txt"));
    program->form1().PushButton1()->click();

    startFinding();

    EXPECT_EQ(shownRows(), (std::vector<ResultRow>{row("only.txt", false)}));
}

TEST_F(SearchRunTest, ClosingEitherWindowEndsTheProgram) {
    addFiles({"a.txt", "b.txt"});
    startFinding();
    program->form2().close();
    EXPECT_EQ(endCalls, 1);
    program->form1().close();
    EXPECT_EQ(endCalls, 2);
}

} // namespace
} // namespace velmora
