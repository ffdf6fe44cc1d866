#include "Program.h"
#include "QStringPrinter.h"
#include "SaveResults.h"
#include "SettingsSandbox.h"
#include "TestServices.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace velmora {
namespace {

// The results window inside the program: its save reports on the main window's bar, and
// its trash acts on the rows a real search produced.
class ProgramActionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::clearSettingsStore();
        const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
        ASSERT_TRUE(QDir().mkpath(dataHome));
        folder.emplace(dataHome + QStringLiteral("/scratch-XXXXXX"));
        ASSERT_TRUE(folder->isValid());
        program = std::make_unique<Program>(fakes.services(), settings, [] {});
        program->show();
    }

    // Two alike files, added by the (fake) dialog and found by a real search.
    void findTwoFiles() {
        for (const QString& name : names) {
            QFile file(folder->filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        fakes.fileDialogs.openAnswers.push_back(
            testing::FakeFileDialogs::selection(folder->path(), names));
        program->form1().PushButton1()->click();
        program->form1().PushButton2()->click();
    }

    const QStringList names{QStringLiteral("holiday1.jpg"), QStringLiteral("holiday2.jpg")};
    std::optional<QTemporaryDir> folder;
    testing::TestServices fakes;
    SettingsStore settings;
    std::unique_ptr<Program> program;
};

// What a screen reader announces for each control: a role and a name that says what the
// control is for, as one sentence; the rows inside the lists are left out.
TEST_F(ProgramActionsTest, BothWindowsReadWellToAScreenReader) {
    QStringList announced;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        const QAccessible::Role role = node->role();
        const QString name = node->text(QAccessible::Name);
        const bool control = role == QAccessible::PushButton || role == QAccessible::CheckBox ||
                             role == QAccessible::EditableText ||
                             role == QAccessible::ProgressBar || role == QAccessible::Table ||
                             role == QAccessible::Tree;
        if (control) {
            EXPECT_FALSE(name.isEmpty() || name.contains(QStringLiteral("  ")))
                << role << " \"" << name.toStdString() << '"';
            announced << QStringLiteral("%1 %2").arg(role).arg(name);
        }
        if (role == QAccessible::Table || role == QAccessible::Tree)
            return;
        for (int child = 0; child < node->childCount(); ++child)
            walk(node->child(child));
    };
    walk(QAccessible::queryAccessibleInterface(&program->form1()));
    walk(QAccessible::queryAccessibleInterface(&program->form2()));
    const auto expected = [](QAccessible::Role role, const char* name) {
        return QStringLiteral("%1 %2").arg(role).arg(QString::fromLatin1(name));
    };
    for (const QString& control :
         {expected(QAccessible::Tree, "File list"),
          expected(QAccessible::EditableText, "Text before which names are compared"),
          expected(QAccessible::EditableText, "Text after which names are compared"),
          expected(QAccessible::CheckBox,
                   "Consider everything before: character/s when finding partial duplicates"),
          expected(QAccessible::ProgressBar, "Progress"), expected(QAccessible::Table, "Results"),
          expected(QAccessible::PushButton, "Send To Recycle Bin")})
        EXPECT_TRUE(announced.contains(control)) << control.toStdString();

    program->form1().ProgressBar1()->setValue(40);
    program->form1().ProgressBar1()->setText(QStringLiteral("Finding... 40%"));
    QAccessibleInterface* bar =
        QAccessible::queryAccessibleInterface(program->form1().ProgressBar1());
    ASSERT_TRUE(bar->valueInterface());
    EXPECT_EQ(bar->valueInterface()->currentValue().toDouble(), 40);
    EXPECT_EQ(bar->text(QAccessible::Value), QStringLiteral("Finding... 40%"));
}

TEST_F(ProgramActionsTest, TheSaveReportsOnTheMainWindowsBar) {
    Form2& results = program->form2();
    ASSERT_TRUE(results.saveProgress());
    results.saveProgress()(42.5, QStringLiteral("Writing file: a.txt (1000)"));
    EXPECT_EQ(program->form1().ProgressBar1()->value(), 42.5);
    EXPECT_EQ(program->form1().ProgressBar1()->text(),
              QStringLiteral("Writing file: a.txt (1000)"));

    results.resultsList().setRows({{QStringLiteral("/a"), true}});
    fakes.fileDialogs.saveAnswers.push_back(folder->filePath(QStringLiteral("saved.txt")));
    results.PushButton6().click();
    EXPECT_EQ(fakes.messages.texts(), QStringList{QStringLiteral("Done.")});
    // After a save the bar is back where a search leaves it.
    EXPECT_EQ(program->form1().ProgressBar1()->value(), 0);
    EXPECT_EQ(program->form1().ProgressBar1()->text(), QStringLiteral("Progress Bar"));
}

TEST_F(ProgramActionsTest, FoundDuplicatesGoToTheTrashAndComeBack) {
    findTwoFiles();
    Form2& results = program->form2();
    ASSERT_EQ(results.resultsList().Count(), 2);
    const std::vector<ResultRow> found = results.resultsList().rows();

    results.PushButton2().click(); // the later file is ticked by the search
    EXPECT_EQ(results.resultsList().Count(), 1);
    EXPECT_FALSE(QFile::exists(folder->filePath(names[1])));

    results.UndoLastTrash();
    EXPECT_EQ(results.resultsList().rows(), found);
    EXPECT_TRUE(QFile::exists(folder->filePath(names[1])));
}

TEST_F(ProgramActionsTest, TheOverwriteQuestionOpensOverTheResultsWindow) {
    findTwoFiles();
    Form2& results = program->form2();
    const QString existing = folder->filePath(names[0]);
    fakes.fileDialogs.saveAnswers.push_back(existing);
    fakes.messages.answers.push_back(MessageBoxes::Answer::No);

    results.PushButton6().click();

    // Not over the hidden main window, and with the application title.
    ASSERT_EQ(fakes.messages.shown.size(), 1u);
    EXPECT_EQ(fakes.messages.shown[0].text, overwriteQuestion(existing));
    EXPECT_EQ(fakes.messages.shown[0].parent, &results);
    EXPECT_EQ(fakes.messages.shown[0].windowTitle, QStringLiteral("Velmora"));
    EXPECT_EQ(fakes.fileDialogs.saveAsked[0].parent, &results);
}

} // namespace
} // namespace velmora
