#include "OtherFileSystem.h"
#include "QStringPrinter.h"
#include "QtDesktop.h"
#include "QtFileDialogs.h"
#include "QtMessageBoxes.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTreeView>

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

const QChar nul(0);

TEST(NameFilters, BarListsBecomeToolkitFilters) {
    EXPECT_EQ(nameFiltersFromBarList(QStringLiteral("All Files (*.*)|*.*|")),
              QStringList{QStringLiteral("All Files (*)")});
    EXPECT_EQ(nameFiltersFromBarList(QStringLiteral("Text (*.txt)|*.txt;*.log|All|*.*")),
              (QStringList{QStringLiteral("Text (*.txt *.log)"), QStringLiteral("All (*)")}));
    EXPECT_TRUE(nameFiltersFromBarList(QString()).isEmpty());
    EXPECT_TRUE(nameFiltersFromBarList(QStringLiteral("Nothing||")).isEmpty());
}

TEST(Selection, OneFileIsItsFullPath) {
    EXPECT_EQ(composeSelection({QStringLiteral("/docs/a.txt")}, 100),
              QStringLiteral("/docs/a.txt"));
    EXPECT_EQ(composeSelection({}, 100), QString());
}

TEST(Selection, SeveralFilesAreTheFolderAndTheirNames) {
    EXPECT_EQ(composeSelection({QStringLiteral("/docs/a.txt"), QStringLiteral("/docs/b.txt")}, 100),
              QStringLiteral("/docs") + nul + "a.txt" + nul + "b.txt");
    // The root keeps its own separator; joining adds another, which the caller cleans up.
    EXPECT_EQ(composeSelection({QStringLiteral("/a.txt"), QStringLiteral("/b.txt")}, 100),
              QStringLiteral("/") + nul + "a.txt" + nul + "b.txt");
    // Names from elsewhere stay reachable from the common folder.
    EXPECT_EQ(composeSelection({QStringLiteral("/docs/x/a"), QStringLiteral("/docs/y/b")}, 100),
              QStringLiteral("/docs") + nul + "x/a" + nul + "y/b");
    EXPECT_EQ(composeSelection({QStringLiteral("/docs/a"), QStringLiteral("/docsplus/b")}, 100),
              QStringLiteral("/") + nul + "docs/a" + nul + "docsplus/b");
}

TEST(Selection, ASelectionBeyondTheCapacityIsRefusedWhole) {
    const QStringList paths{QStringLiteral("/d/a"), QStringLiteral("/d/b")};
    const qsizetype exact = QStringLiteral("/d").size() + 4;
    EXPECT_EQ(composeSelection(paths, exact).size(), exact);
    EXPECT_THROW(composeSelection(paths, exact - 1), SelectionTooLarge);
    EXPECT_THROW(composeSelection({QStringLiteral("/a-long-single-path")}, 5), SelectionTooLarge);
}

TEST(MessageText, CarriageReturnsBecomeLineBreaks) {
    EXPECT_EQ(textForDisplay(QStringLiteral("a\r\nb\r\rc")), QStringLiteral("a\nb\n\nc"));
    EXPECT_EQ(textForDisplay(QStringLiteral("plain")), QStringLiteral("plain"));
}

TEST(MessageText, AnEmptyTitleIsTheApplicationTitle) {
    QtMessageBoxes messages;
    messages.setApplicationTitle(QStringLiteral("Short Title"));
    EXPECT_EQ(messages.titleFor(QString()), QStringLiteral("Short Title"));
    EXPECT_EQ(messages.titleFor(QStringLiteral("Own")), QStringLiteral("Own"));
}

// Each box, prompt and file dialog carries exactly its own title (the window system adds
// nothing when the toolkit's display name is left unset) and opens over the window on
// screen, also while no window is active, as right after another dialog has closed.
TEST(Dialogs, CarryTheirOwnTitleAndOpenOverTheWindowOnScreen) {
    QWidget window;
    window.show();
    QApplication::setActiveWindow(nullptr);
    QtMessageBoxes messages;
    messages.setApplicationTitle(QStringLiteral("Velmora"));
    QtFileDialogs files;
    QtFolderBrowser folders;

    const QString add = QStringLiteral("Add File(s) - Hold Ctrl to select multiple files");
    struct Case {
        QString expectedTitle;
        std::shared_ptr<QWidget> dialog;
    };
    const std::vector<Case> cases{
        {"Application Error",
         messages.messageBox("x", MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Exclamation,
                             "Application Error")},
        {"Velmora", messages.messageBox("x", MessageBoxes::Buttons::YesNo, MessageBoxes::Icon::None,
                                        QString())},
        {"Velmora", messages.promptDialog("x", QString(), QString())},
        {"Save", files.saveDialog("Save", "Text Files (*.txt)|*.txt|")},
        {add, files.openDialog(add, "All Files (*.*)|*.*|")},
        {"Please select folder:", folders.folderDialog("Please select folder:", QString())},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(each.dialog->windowTitle(), each.expectedTitle);
        EXPECT_EQ(each.dialog->parentWidget(), &window) << each.expectedTitle.toStdString();
        // As large as asked, or as the screen allows.
        if (qobject_cast<QFileDialog*>(each.dialog.get())) {
            EXPECT_EQ(each.dialog->size(),
                      DialogSize::initial.boundedTo(each.dialog->screen()->availableSize()))
                << each.expectedTitle.toStdString();
            // A date column that cuts the date short tells nothing.
            const auto* view = each.dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
            ASSERT_NE(view, nullptr);
            const QString date = QLocale::system().toString(
                QDateTime(QDate(2026, 12, 28), QTime(23, 59, 59)), QLocale::ShortFormat);
            EXPECT_GT(view->header()->sectionSize(3),
                      QFontMetrics(view->font()).horizontalAdvance(date))
                << each.expectedTitle.toStdString();
        }
    }
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

TEST(Clipboard, TextGoesOnAndClearEmptiesIt) {
    QtClipboard clipboard;
    ASSERT_TRUE(clipboard.setText(QStringLiteral("/a.txt\r\n/b.txt\r\n")));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("/a.txt\r\n/b.txt\r\n"));
    ASSERT_TRUE(clipboard.clear());
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
}

class TrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Files are made beside the test's own trash: on the same file system, they go to
        // its home trash and nothing is left at the root of another mount.
        dataHome = qEnvironmentVariable("XDG_DATA_HOME");
        ASSERT_FALSE(dataHome.isEmpty());
        ASSERT_TRUE(QDir().mkpath(dataHome));
        scratch.emplace(dataHome + QStringLiteral("/scratch-XXXXXX"));
        ASSERT_TRUE(scratch->isValid());
    }

    QString makeFile(const QString& name, const QByteArray& contents) {
        QFile file(scratch->filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
        return file.fileName();
    }

    QString dataHome;
    std::optional<QTemporaryDir> scratch;
    QtDesktopShell shell;
};

TEST_F(TrashTest, RecycledFilesAreGoneButKeptInTheTrash) {
    const QString first = makeFile(QStringLiteral("first.txt"), "one");
    const QString second = makeFile(QStringLiteral("second name.txt"), "two");
    const std::vector<RecycleOutcome> outcomes = shell.recycle({first, second}, {});

    ASSERT_EQ(outcomes.size(), 2u);
    for (const RecycleOutcome& outcome : outcomes) {
        EXPECT_TRUE(outcome.gone) << outcome.reason.toStdString();
        EXPECT_FALSE(QFile::exists(outcome.path));
    }
    EXPECT_EQ(outcomes[0].path, first);
    EXPECT_EQ(outcomes[1].path, second);
    // Nothing was deleted outright: the contents can be restored.
    QFile kept(dataHome + QStringLiteral("/Trash/files/second name.txt"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("two"));
}

TEST_F(TrashTest, AMissingDataFolderIsCreatedForTheTrashAndTheWorkingFolderStaysClean) {
    const QString file = makeFile(QStringLiteral("lost.txt"), "lost");
    const QString missing = scratch->filePath(QStringLiteral("no data yet/share"));
    const QString working = scratch->filePath(QStringLiteral("working"));
    ASSERT_TRUE(QDir().mkpath(working));
    const QByteArray ownDataHome = qgetenv("XDG_DATA_HOME");
    const QString ownWorkingFolder = QDir::currentPath();
    qputenv("XDG_DATA_HOME", QFile::encodeName(missing));
    ASSERT_TRUE(QDir::setCurrent(working));
    const std::vector<RecycleOutcome> outcomes = shell.recycle({file}, {});
    qputenv("XDG_DATA_HOME", ownDataHome);
    QDir::setCurrent(ownWorkingFolder);

    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_TRUE(outcomes[0].gone) << outcomes[0].reason.toStdString();
    EXPECT_EQ(outcomes[0].trashedFile, missing + QStringLiteral("/Trash/files/lost.txt"));
    EXPECT_TRUE(QFileInfo::exists(outcomes[0].trashedFile));
    EXPECT_EQ(QFileInfo(missing + QStringLiteral("/Trash")).permissions() & 0x0077, 0)
        << "the trash is private to its user";
    EXPECT_TRUE(QDir(working).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST_F(TrashTest, AFileOnAnotherFileSystemGoesToTheTrashAtItsTop) {
    testing::OtherFileSystem other(dataHome);
    if (!other.skipReason.isEmpty())
        GTEST_SKIP() << other.skipReason.toStdString();
    QTemporaryDir elsewhere(other.folder + QStringLiteral("/velmora-trash-XXXXXX"));
    ASSERT_TRUE(elsewhere.isValid());
    const QString file = elsewhere.filePath(QStringLiteral("far away.txt"));
    ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    const QString trash = other.top + QStringLiteral("/.Trash-%1").arg(getuid());
    const bool trashWasThere = QFileInfo::exists(trash);

    const std::vector<RecycleOutcome> outcomes = shell.recycle({file}, {});
    ASSERT_EQ(outcomes.size(), 1u);
    ASSERT_TRUE(outcomes[0].gone) << outcomes[0].reason.toStdString();
    EXPECT_TRUE(outcomes[0].trashedFile.startsWith(trash + QStringLiteral("/files/")))
        << outcomes[0].trashedFile.toStdString();
    QFile record(trashInfoFile(outcomes[0].trashedFile));
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    // Relative to the top, so the record holds wherever the disk is mounted.
    EXPECT_TRUE(record.readAll().contains(
        "\nPath=" + QFile::encodeName(elsewhere.path().mid(other.top.size() + 1)) +
        "/far%20away.txt\n"));
    EXPECT_EQ(restoreFromTrash(outcomes[0].trashedFile).result, RestoreOutcome::Result::Restored);
    EXPECT_TRUE(QFileInfo::exists(file));
    if (!trashWasThere) {
        // Only the empty folders this test made go again.
        for (const char* folder : {"/files", "/info", ""})
            rmdir(QFile::encodeName(trash + QLatin1String(folder)).constData());
    }
}

// At the top of another file system, a shared .Trash is used only when it has the sticky
// bit (else anyone could take another's files out of it); the user's folder is private.
TEST_F(TrashTest, TheSharedTrashAtATopIsUsedOnlyWhenStickyAndTheUsersFolderIsPrivate) {
    const QString user = QString::number(getuid());
    const std::vector<std::pair<mode_t, QString>> cases{
        {0, ".Trash-" + user}, {01777, ".Trash/" + user}, {0777, ".Trash-" + user}};
    for (const auto& [sharedMode, expectedTrash] : cases) {
        SCOPED_TRACE(sharedMode);
        testing::OtherFileSystem other(dataHome);
        if (!other.isOwnMount())
            GTEST_SKIP() << "needs a file system of its own, and no tmpfs can be mounted: "
                         << other.notOwnMountBecause.toStdString();
        const QByteArray shared = QFile::encodeName(other.top) + "/.Trash";
        if (sharedMode != 0) {
            ASSERT_EQ(mkdir(shared.constData(), 0700), 0);
            ASSERT_EQ(chmod(shared.constData(), sharedMode), 0);
        }
        const QString file = other.folder + QStringLiteral("/a.txt");
        ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));

        const QString trash = other.top + '/' + expectedTrash;
        EXPECT_EQ(shell.recycle({file}, {}).at(0).trashedFile,
                  trash + QStringLiteral("/files/a.txt"));
        struct stat status {};
        ASSERT_EQ(stat(QFile::encodeName(trash).constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0700u);
    }
}

// A name in the trash is taken only when neither its file nor its record is there: a
// file whose record was lost and a longer record left without its file keep their name.
TEST_F(TrashTest, TrashNamesAreNeverReusedAndNumberedBeforeTheExtension) {
    const QString trash = dataHome + QStringLiteral("/Trash/");
    ASSERT_TRUE(QDir().mkpath(trash + "files") && QDir().mkpath(trash + "info"));
    const auto contents = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    };
    const QByteArray stale = "[Trash Info]\nPath=/" + QByteArray(300, 'x') + '\n';
    // The name, and whether its file and its record are left in the trash.
    const std::vector<std::tuple<QString, bool, bool>> cases{{"earlier.jpg", true, true},
                                                             {"recordlost.jpg", true, false},
                                                             {"filelost.jpg", false, true}};
    for (const auto& [name, fileThere, recordThere] : cases) {
        SCOPED_TRACE(name.toStdString());
        const QString oldFile = trash + "files/" + name;
        const QString oldRecord = trash + "info/" + name + ".trashinfo";
        if (fileThere)
            QFile(oldFile).open(QIODevice::WriteOnly);
        if (recordThere)
            std::ofstream(QFile::encodeName(oldRecord).constData()) << stale.constData();
        const QString file = makeFile(name, "new");

        const QString trashed = shell.recycle({file}, {}).at(0).trashedFile;
        EXPECT_EQ(trashed, trash + "files/" + QFileInfo(name).completeBaseName() + ".2.jpg");
        const QByteArray record = contents(trashInfoFile(trashed));
        EXPECT_TRUE(record.startsWith(
            "[Trash Info]\nPath=" + QFile::encodeName(file).toPercentEncoding("/") +
            "\nDeletionDate="));
        EXPECT_EQ(record.count('\n'), 3) << "nothing after its own lines";
        EXPECT_EQ(contents(oldFile), fileThere ? "" : "<none>");
        EXPECT_EQ(contents(oldRecord), recordThere ? stale : "<none>");
    }
}

TEST_F(TrashTest, PathsThatAreNotThereAreReported) {
    const std::vector<RecycleOutcome> outcomes =
        shell.recycle({scratch->filePath(QStringLiteral("missing.txt")), QString()}, {});
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_TRUE(outcomes[0].gone); // already not present
    EXPECT_FALSE(outcomes[1].gone);
    EXPECT_FALSE(outcomes[1].reason.isEmpty());
}

TEST_F(TrashTest, ALinkTheTrashRefusesStaysAndSaysWhy) {
    // The toolkit's trash follows the link and finds nothing to move. The name is still
    // in its folder, so it must not be reported gone.
    const QString link = scratch->filePath(QStringLiteral("dangling"));
    ASSERT_TRUE(QFile::link(scratch->filePath(QStringLiteral("nowhere")), link));
    const std::vector<RecycleOutcome> outcomes = shell.recycle({link}, {});
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].gone, !QFileInfo(link).isSymLink());
    if (!outcomes[0].gone) {
        EXPECT_FALSE(outcomes[0].reason.isEmpty());
    }
}

} // namespace
} // namespace velmora
