#include "SendToTrash.h"
#include "ActionsFixture.h"
#include "QtDesktop.h"

#include <QFile>
#include <QPushButton>
#include <QShortcut>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

using testing::readBytes;

class SendToTrashTest : public testing::ActionsFixture {
protected:
    // Eight files "<prefix>1.txt" .. "<prefix>8.txt", the given rows ticked.
    QStringList fillEight(const QString& prefix, const std::vector<int>& ticked) {
        QStringList names;
        for (int number = 1; number <= 8; ++number)
            names << prefix + QString::number(number) + QStringLiteral(".txt");
        fillWithFiles(names, ticked);
        return rowPaths();
    }

    void sendToTrash() { form->PushButton2().click(); }

    // Where the last action put each file, by its original path.
    QString trashedFileOf(const QString& original) const {
        for (const TrashedRow& trashed : form->trashUndo().pending())
            if (trashed.row.path == original)
                return trashed.trashedFile;
        return {};
    }
};

TEST_F(SendToTrashTest, TickedRowsAreCollectedFromTheLastToTheFirst) {
    const QStringList paths = fillEight(QStringLiteral("collect"), {2, 5, 7});
    const TickedRows ticked = collectTickedRows(form->resultsList());
    EXPECT_EQ(ticked.paths, (QStringList{paths[6], paths[4], paths[1]}));
    EXPECT_EQ(ticked.positions, (std::vector<int>{7, 5, 2}));
}

TEST_F(SendToTrashTest, TickedFilesGoToTheTrashWithTheirRecordsAndTheirRowsLeave) {
    const QStringList paths = fillEight(QStringLiteral("three"), {2, 5, 7});
    sendToTrash();

    // One request, bottom row first, after one question naming the files top down.
    ASSERT_EQ(fakes.shell.recycleRequests.size(), 1u);
    EXPECT_EQ(fakes.shell.recycleRequests[0], (QStringList{paths[6], paths[4], paths[1]}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].buttons, MessageBoxes::Buttons::YesNo);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Move 3 file(s) to the trash?\n\n") +
                                          paths[1] + '\n' + paths[4] + '\n' + paths[6]);

    for (int index : {1, 4, 6}) {
        EXPECT_FALSE(QFile::exists(paths[index])) << paths[index].toStdString();
        const QString trashed = trashedFileOf(paths[index]);
        ASSERT_FALSE(trashed.isEmpty());
        EXPECT_TRUE(trashed.startsWith(trashFiles() + '/')) << trashed.toStdString();
        EXPECT_EQ(readBytes(trashed), QFileInfo(paths[index]).fileName().toUtf8());
        EXPECT_EQ(originalPathFromTrashInfo(trashInfoFile(trashed)), paths[index]);
    }
    EXPECT_EQ(rowPaths(), (QStringList{paths[0], paths[2], paths[3], paths[5], paths[7]}));
    EXPECT_EQ(rowTicks(), std::vector<bool>(5, false));
    for (int index : {0, 2, 3, 5, 7})
        EXPECT_TRUE(QFile::exists(paths[index]));
}

TEST_F(SendToTrashTest, AnsweringNoTouchesNothing) {
    const QStringList paths = fillEight(QStringLiteral("declined"), {2, 5, 7});
    messages.answers.push_back(MessageBoxes::Answer::No);
    sendToTrash();

    EXPECT_TRUE(fakes.shell.recycleRequests.empty());
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(rowPaths(), paths);
    EXPECT_EQ(rowTicks(), (std::vector<bool>{false, true, false, false, true, false, true, false}));
    for (const QString& file : paths)
        EXPECT_TRUE(QFile::exists(file));
    EXPECT_FALSE(form->trashUndo().canUndo());
}

TEST_F(SendToTrashTest, NothingTickedSaysSoAndAsksNothing) {
    fillEight(QStringLiteral("unticked"), {});
    sendToTrash();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("No files selected.")});
    EXPECT_TRUE(fakes.shell.recycleRequests.empty());

    messages.shown.clear();
    form->resultsList().Clear();
    sendToTrash();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("No files selected.")});
}

TEST_F(SendToTrashTest, ARowWhoseFileIsAlreadyGoneLeavesAndIsNamed) {
    const QStringList paths = fillEight(QStringLiteral("vanished"), {3, 4});
    ASSERT_TRUE(QFile::rename(paths[3], path(QStringLiteral("elsewhere.txt"))));
    sendToTrash();

    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.shown[1].text.startsWith(
        QStringLiteral("1 file(s) had gone before the trash reached them; their rows were "
                       "removed:\n\n") +
        paths[3] + QStringLiteral(" was no longer there.\n\n")))
        << messages.shown[1].text.toStdString();
    EXPECT_EQ(rowPaths().size(), 6);
    EXPECT_FALSE(rowPaths().contains(paths[2]));
    EXPECT_FALSE(rowPaths().contains(paths[3]));
    // Only the file that really went to the trash can be brought back.
    ASSERT_EQ(form->trashUndo().pending().size(), 1u);
    EXPECT_EQ(form->trashUndo().pending()[0].row.path, paths[2]);
}

// The list may be old when the user answers Yes: each ticked path is looked at as it is
// then. Every case has A1/only.doc, a link A1link to A1, and a hard link B/only.doc.
TEST_F(SendToTrashTest, EachTickedPathIsLookedAtAsItIsWhenItsTurnComes) {
    using Change = std::function<void(const QString&)>;
    const Change byFolder = [](const QString& file) {
        QFile::remove(file);
        QDir().mkpath(file + QStringLiteral("/unseen"));
    };
    const Change byPipe = [](const QString& file) {
        QFile::remove(file);
        mkfifo(QFile::encodeName(file).constData(), 0600);
    };
    const Change removed = [](const QString& file) { QFile::remove(file); };
    const QString sameFile = QStringLiteral("%1 is the same file as %2, which is kept.");
    struct Case {
        QString ticked;
        QString other; // a second row, unticked unless it starts with "+"
        Change change; // made while the question is open
        bool rowStays;
        QString line; // in the report: %1 the ticked path, %2 the other one
    };
    const std::vector<Case> cases{
        {"A1/only.doc", "", byFolder, true, "%1 is no longer a file."},
        {"A1/only.doc", "", byPipe, true, "%1 is no longer a file."},
        {"A1/only.doc", "", removed, false, "%1 was no longer there."},
        {"A1link/only.doc", "A1/only.doc", nullptr, true, sameFile},
        {"A1/only.doc", "A1link/only.doc", nullptr, true, sameFile},
        {"A1//only.doc", "A1/only.doc", nullptr, true, sameFile},
        {"B/only.doc", "A1/only.doc", nullptr, false, ""}, // a hard link is another entry
        {"A1link/only.doc", "+A1/only.doc", nullptr, false, ""},
    };
    for (std::size_t index = 0; index < cases.size(); ++index) {
        const Case& each = cases[index];
        const QString folder = path(QStringLiteral("case%1/").arg(index));
        makeFile(QStringLiteral("case%1/A1/only.doc").arg(index));
        ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("B")));
        ASSERT_EQ(::link(QFile::encodeName(folder + QStringLiteral("A1/only.doc")).constData(),
                         QFile::encodeName(folder + QStringLiteral("B/only.doc")).constData()),
                  0);
        ASSERT_TRUE(QFile::link(QStringLiteral("A1"), folder + QStringLiteral("A1link")));
        const QString ticked = folder + each.ticked;
        const bool bothTicked = each.other.startsWith('+');
        const QString other = folder + each.other.mid(bothTicked ? 1 : 0);
        SCOPED_TRACE((ticked + QStringLiteral(" beside ") + other).toStdString());
        std::vector<ResultRow> rows{{ticked, true}, {other, bothTicked}};
        if (each.other.isEmpty())
            rows.pop_back();
        form->resultsList().setRows(std::move(rows));
        messages.shown.clear();
        bool changed = false;
        messages.whileShown = [&] {
            if (each.change && !std::exchange(changed, true))
                each.change(ticked);
        };
        sendToTrash();

        // A row stays, ticked, exactly while its path still names something.
        EXPECT_EQ(rowPaths().indexOf(ticked) == 0 && rowTicks()[0], each.rowStays);
        EXPECT_EQ(QFileInfo(ticked).exists() || QFileInfo(ticked).isSymLink(), each.rowStays);
        EXPECT_TRUE(each.other.isEmpty() || bothTicked || QFile::exists(other));
        ASSERT_EQ(messages.shown.size(), each.line.isEmpty() ? 1u : 2u);
        const QString line = QString(each.line).replace("%1", ticked).replace("%2", other);
        EXPECT_TRUE(each.line.isEmpty() || messages.shown[1].text.contains('\n' + line + '\n'))
            << messages.texts().join('\n').toStdString();
    }
    messages.whileShown = nullptr;
}

TEST_F(SendToTrashTest, FilesTheShellLeavesInPlaceKeepTheirTickedRowsAndAreNamedOnce) {
    const QStringList paths = fillEight(QStringLiteral("refused"), {1, 8});
    fakes.shell.declineRecycle = true; // the desktop refuses every file
    sendToTrash();

    EXPECT_EQ(rowPaths(), paths);
    EXPECT_TRUE(form->resultsList().Checked(1));
    EXPECT_TRUE(form->resultsList().Checked(8));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text,
              QStringLiteral("2 file(s) could not be moved to the trash and are still in place:\n"
                             "\n") +
                  paths[0] + QStringLiteral(": The user declined.\n") + paths[7] +
                  QStringLiteral(": The user declined."));
    for (const QString& file : paths)
        EXPECT_TRUE(QFile::exists(file));
}

// A ticked row is a copy only when the check said so; one it has not reached is not.
TEST(TrashMessages, TheQuestionCountsCopiesAndNamesTheTickedFilesThatAreNot) {
    ResultsList list;
    const auto row = [](const char* path, bool ticked) {
        return ResultRow(QString::fromLatin1(path), ticked, QStringLiteral("/kept"), 0.9);
    };
    list.setRows({row("/same1", true), row("/differs1", true), row("/same2", true),
                  row("/gone", true), row("/waiting", true), row("/differs2", true),
                  row("/unticked", false)});
    EXPECT_EQ(trashConfirmationText(collectTickedRows(list)).count(QLatin1Char('\n')), 7)
        << "no word of contents when no check ran";

    list.startContentFacts();
    const auto fact = [](const char* path, ContentVerdict verdict) {
        return RowContentFact{QString::fromLatin1(path), QStringLiteral("/kept"), {verdict, {}}};
    };
    list.addContentFacts(
        {fact("/same1", ContentVerdict::Same), fact("/differs1", ContentVerdict::Different),
         fact("/same2", ContentVerdict::Same), fact("/gone", ContentVerdict::Unknown),
         fact("/differs2", ContentVerdict::Different),
         fact("/unticked", ContentVerdict::Different)});
    EXPECT_TRUE(trashConfirmationText(collectTickedRows(list))
                    .endsWith(QStringLiteral(
                        "/differs2\n\n2 of these are exact copies of the file they matched.\n\n"
                        "2 of these are not copies of the file they matched:\n/differs1\n"
                        "/differs2\n\n1 of these could not be compared with the file it "
                        "matched.\n\n1 of these is still being compared: it is not known to "
                        "be a copy.")))
        << trashConfirmationText(collectTickedRows(list)).toStdString();
}

TEST(TrashMessages, LongSelectionsAreShortenedInTheQuestionAndTheFailureList) {
    TickedRows ticked;
    for (int position = 30; position >= 1; --position) {
        ticked.paths << QStringLiteral("/f%1").arg(position);
        ticked.positions.push_back(position);
    }
    const QString question = trashConfirmationText(ticked);
    EXPECT_TRUE(question.startsWith(QStringLiteral("Move 30 file(s) to the trash?\n\n/f1\n/f2\n")));
    EXPECT_TRUE(question.endsWith(QStringLiteral("/f10\n... and 20 more.")));

    std::vector<RecycleOutcome> stayed;
    for (int number = 1; number <= 25; ++number)
        stayed.push_back({QStringLiteral("/g%1").arg(number), false, QStringLiteral("busy"), {}});
    const QString failures = trashFailureText(stayed);
    EXPECT_TRUE(failures.contains(QStringLiteral("\n/g20: busy\n... and 5 more.")));
    EXPECT_FALSE(failures.contains(QStringLiteral("/g21")));
    // Both sections together list 20 paths, so the box fits a small screen.
    for (int number = 1; number <= 25; ++number)
        stayed.push_back({QStringLiteral("/h%1").arg(number), true, QStringLiteral("gone"), {}});
    const QString both = trashFailureText(stayed);
    EXPECT_TRUE(both.contains(QStringLiteral("\n/g10: busy\n... and 15 more.")));
    EXPECT_TRUE(both.contains(QStringLiteral("\n/h10: gone\n... and 15 more.")));
    EXPECT_TRUE(trashFailureText({}).isEmpty());
}

// Undo ------------------------------------------------------------------------------

class TrashUndoTest : public SendToTrashTest {
protected:
    void pressUndo() {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    }
};

TEST_F(TrashUndoTest, CtrlZPutsTheFilesAndTheirRowsBack) {
    const QStringList paths = fillEight(QStringLiteral("undo"), {2, 5, 7});
    sendToTrash();
    form->resultsList().SetChecked(1, true); // ticks given since stay as they are
    ASSERT_EQ(rowPaths().size(), 5);

    pressUndo();
    EXPECT_EQ(rowPaths(), paths);
    EXPECT_EQ(rowTicks(), (std::vector<bool>{true, true, false, false, true, false, true, false}));
    for (const QString& file : paths)
        EXPECT_EQ(readBytes(file), QFileInfo(file).fileName().toUtf8());
    EXPECT_TRUE(QDir(trashFiles()).entryList(QStringList{QStringLiteral("undo*")}).isEmpty());
    EXPECT_TRUE(QDir(trashInfo()).entryList(QStringList{QStringLiteral("undo*")}).isEmpty());
    EXPECT_FALSE(form->trashUndo().canUndo());
    EXPECT_EQ(messages.shown.size(), 1u); // the question only

    pressUndo(); // nothing left to take back
    EXPECT_EQ(rowPaths(), paths);
    EXPECT_EQ(messages.shown.size(), 1u);
}

// A file shown under two ticked paths goes to the trash once; Ctrl+Z brings back both rows.
TEST_F(TrashUndoTest, BothRowsOfAFileShownUnderTwoPathsComeBack) {
    const QString file = makeFile(QStringLiteral("one/only.doc"));
    ASSERT_TRUE(QFile::link(QStringLiteral("one"), path(QStringLiteral("onelink"))));
    const QString linked = path(QStringLiteral("onelink/only.doc"));
    form->resultsList().setRows({{file, true}, {linked, true}});
    sendToTrash();
    ASSERT_TRUE(rowPaths().isEmpty()) << messages.texts().join('\n').toStdString();

    pressUndo();
    EXPECT_EQ(rowPaths(), (QStringList{file, linked}));
    EXPECT_EQ(readBytes(file), QByteArray("one/only.doc"));
    EXPECT_EQ(messages.shown.size(), 1u); // the question only
}

// A record is named "<name>.trashinfo", so a name of more than 245 bytes takes a shorter
// one in the trash; its record still holds the whole path, and undo brings it back.
TEST_F(TrashUndoTest, LongNamesGoToTheTrashUnderShorterNamesAndComeBackWhole) {
    const QChar e(0x00E9); // two bytes
    // Each name and how its name in the trash ends. The rows go bottom up: the lower of
    // two equal names is the first in the trash.
    const std::vector<std::pair<QString, QString>> cases{
        {QString(241, 'a') + ".txt", QString(241, 'a') + ".txt"},
        {QString(242, 'b') + ".txt", "bb.txt"},
        {QString(246, 'c') + ".txt", "cc.2.txt"},
        {"again/" + QString(246, 'c') + ".txt", "cc.txt"},
        {QString(125, e) + "x.txt", e + QStringLiteral(".txt")},
        {"d." + QString(248, 'e'), "eee"},
    };
    QStringList names;
    for (const auto& [name, trashedEnd] : cases)
        names << name;
    fillWithFiles(names, {1, 2, 3, 4, 5, 6});
    const QStringList paths = rowPaths();
    sendToTrash();
    ASSERT_TRUE(rowPaths().isEmpty()) << messages.texts().join('\n').toStdString();

    for (qsizetype index = 0; index < paths.size(); ++index) {
        SCOPED_TRACE(paths[index].toStdString());
        const QString trashed = trashedFileOf(paths[index]);
        const QString trashedName = QFileInfo(trashed).fileName();
        EXPECT_LE(trashedName.toUtf8().size(), 245);
        EXPECT_TRUE(trashedName.endsWith(cases[std::size_t(index)].second))
            << trashedName.toStdString();
        EXPECT_EQ(readBytes(trashed), names[index].toUtf8());
        EXPECT_EQ(originalPathFromTrashInfo(trashInfoFile(trashed)), paths[index]);
    }
    pressUndo();
    EXPECT_EQ(rowPaths(), paths);
    for (qsizetype index = 0; index < paths.size(); ++index)
        EXPECT_EQ(readBytes(paths[index]), names[index].toUtf8());
}

TEST_F(TrashUndoTest, ARecordOtherProgramsCanReadAndUndoFindTheExactName) {
    fillWithFiles({QStringLiteral("a%20b #1 \u00fc.txt")}, {1});
    const QString original = rowPaths()[0];
    sendToTrash();
    ASSERT_FALSE(QFile::exists(original));
    const QString trashed = trashedFileOf(original);
    const QByteArray record = readBytes(trashInfoFile(trashed));

    // Percent-encoded, "/" kept: "%" itself becomes "%25".
    EXPECT_TRUE(record.startsWith(
        "[Trash Info]\nPath=" + QFile::encodeName(original).toPercentEncoding("/") +
        "\nDeletionDate="))
        << record.constData();
    EXPECT_TRUE(record.contains("a%2520b%20%231%20%C3%BC.txt")) << record.constData();
    EXPECT_EQ(originalPathFromTrashInfo(trashInfoFile(trashed)), original);

    pressUndo();
    EXPECT_EQ(readBytes(original), QByteArray("a%20b #1 \u00fc.txt"));
    EXPECT_EQ(rowPaths(), QStringList{original});
}

TEST_F(TrashUndoTest, AFileThatReappearedIsNotOverwrittenAndCanBeRestoredLater) {
    const QStringList paths = fillEight(QStringLiteral("again"), {2, 5, 7});
    sendToTrash();
    ASSERT_TRUE(testing::writeBytes(paths[4], "new contents"));

    form->UndoLastTrash();
    EXPECT_EQ(readBytes(paths[4]), QByteArray("new contents"));
    EXPECT_EQ(readBytes(paths[1]), QByteArray("again2.txt"));
    EXPECT_EQ(readBytes(paths[6]), QByteArray("again7.txt"));
    QStringList expected = paths;
    expected.removeAt(4);
    EXPECT_EQ(rowPaths(), expected);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, QStringLiteral("These files were left in the trash:\n\n") +
                                          paths[4] +
                                          QStringLiteral(": A file of that name is there again."));
    ASSERT_EQ(form->trashUndo().pending().size(), 1u);
    const QString stillTrashed = form->trashUndo().pending()[0].trashedFile;
    EXPECT_EQ(readBytes(stillTrashed), QByteArray("again5.txt"));

    // Once the name is free again, the file and its row return to their own places.
    ASSERT_TRUE(QFile::rename(paths[4], path(QStringLiteral("moved aside.txt"))));
    form->UndoLastTrash();
    EXPECT_EQ(rowPaths(), paths);
    EXPECT_EQ(readBytes(paths[4]), QByteArray("again5.txt"));
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(TrashUndoTest, ARestoredFileGetsItsFolderBackIfItWasRemoved) {
    fillWithFiles({QStringLiteral("gone folder/inner.txt"), QStringLiteral("outer.txt")}, {1});
    const QString inner = rowPaths()[0];
    sendToTrash();
    ASSERT_TRUE(QDir().rename(path(QStringLiteral("gone folder")), path(QStringLiteral("kept"))));

    form->UndoLastTrash();
    EXPECT_EQ(readBytes(inner), QByteArray("gone folder/inner.txt"));
    EXPECT_EQ(rowPaths().first(), inner);
}

TEST_F(TrashUndoTest, ANewListForgetsTheLastAction) {
    const QStringList paths = fillEight(QStringLiteral("forgotten"), {1});
    sendToTrash();
    ASSERT_TRUE(form->trashUndo().canUndo());
    const QString trashed = form->trashUndo().pending()[0].trashedFile;

    form->resultsList().setRows({{QStringLiteral("/new/row"), false}});
    EXPECT_FALSE(form->trashUndo().canUndo());
    form->UndoLastTrash();
    EXPECT_EQ(rowPaths(), QStringList{QStringLiteral("/new/row")});
    EXPECT_FALSE(QFile::exists(paths[0]));
    EXPECT_TRUE(QFile::exists(trashed));
}

TEST_F(TrashUndoTest, AFileEmptiedFromTheTrashIsReportedAndTheOthersReturn) {
    const QStringList paths = fillEight(QStringLiteral("emptied"), {3, 6});
    sendToTrash();
    // The user empties that one file from the trash in the file manager.
    QString emptied;
    for (const TrashedRow& trashed : form->trashUndo().pending())
        if (trashed.row.path == paths[2])
            emptied = trashed.trashedFile;
    ASSERT_TRUE(QFile::rename(emptied, path(QStringLiteral("taken out.txt"))));

    form->UndoLastTrash();
    QStringList expected = paths;
    expected.removeAt(2);
    EXPECT_EQ(rowPaths(), expected);
    EXPECT_TRUE(QFile::exists(paths[5]));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.shown[1].text.endsWith(paths[2] +
                                                QStringLiteral(": It is no longer in the trash.")));
}

TEST(TrashRecords, PathsAreDecodedAndRelativeOnesResolvedAgainstTheMountTop) {
    QTemporaryDir top;
    ASSERT_TRUE(top.isValid());
    ASSERT_TRUE(QDir(top.path()).mkpath(QStringLiteral(".Trash-1000/info")));
    ASSERT_TRUE(QDir(top.path()).mkpath(QStringLiteral(".Trash/1000/info")));
    const QString perUser = top.filePath(QStringLiteral(".Trash-1000/info/a.trashinfo"));
    const QString shared = top.filePath(QStringLiteral(".Trash/1000/info/a.trashinfo"));

    EXPECT_EQ(
        originalPathFromTrashInfo(
            "[Trash Info]\nPath=/home/u/a%20b%25.txt\nDeletionDate=2024-01-01T00:00:00\n", perUser),
        QStringLiteral("/home/u/a b%.txt"));
    EXPECT_EQ(originalPathFromTrashInfo("[Trash Info]\nPath=dir/%C3%A9t%C3%A9.txt\n", perUser),
              top.filePath(QStringLiteral("dir/\u00e9t\u00e9.txt")));
    EXPECT_EQ(originalPathFromTrashInfo("[Trash Info]\r\nPath=x.txt\r\n", shared),
              top.filePath(QStringLiteral("x.txt")));
    // Records holding the raw path are read as they stand.
    EXPECT_EQ(originalPathFromTrashInfo("[Trash Info]\nPath=/u/a b #1 \xc3\xbc.txt\n", perUser),
              QStringLiteral("/u/a b #1 \u00fc.txt"));
    EXPECT_EQ(originalPathFromTrashInfo("[Trash Info]\nPath=/u/100%.txt\n", perUser),
              QStringLiteral("/u/100%.txt"));
    const QString rawLooksEncoded =
        top.filePath(QStringLiteral(".Trash-1000/info/a%20b.trashinfo"));
    EXPECT_EQ(originalPathFromTrashInfo("[Trash Info]\nPath=/u/a%20b\n", rawLooksEncoded),
              QStringLiteral("/u/a%20b"));
    EXPECT_EQ(originalPathFromTrashInfo("[Trash Info]\nPath=/u/%EF%BB%BFx\n", perUser),
              QStringLiteral("/u/") + QChar(0xFEFF) + QStringLiteral("x"));
    EXPECT_EQ(originalPathFromTrashInfo("[Other]\nPath=/a\n", perUser), std::nullopt);
    EXPECT_EQ(originalPathFromTrashInfo("[Trash Info]\nPath=\n", perUser), std::nullopt);
    EXPECT_EQ(originalPathFromTrashInfo(top.filePath(QStringLiteral("missing.trashinfo"))),
              std::nullopt);
    EXPECT_EQ(trashInfoFile(QStringLiteral("/t/Trash/files/a b.txt")),
              QStringLiteral("/t/Trash/info/a b.txt.trashinfo"));
}

} // namespace
} // namespace velmora
