#include "FileDrop.h"
#include "FileList.h"
#include "QStringPrinter.h"
#include "TestServices.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace velmora {
namespace {

using testing::TestServices;

class FileDropTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(root.isValid()); }

    QString make(const QString& relative) {
        const QString path = root.filePath(relative);
        EXPECT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        return path;
    }
    QString folder(const QString& relative) {
        EXPECT_TRUE(QDir().mkpath(root.filePath(relative)));
        return root.filePath(relative);
    }

    void drop(const QStringList& paths) {
        ListView1_OLEDragDrop(paths, list, PathStyle::Posix, dropWalkHooks(services.messages));
    }

    QTemporaryDir root;
    TestServices services;
    FileList list;
};

TEST(DroppedLocalPaths, TakesLocalFilesInTheSourcesOrder) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/b/second.txt"), QUrl::fromLocalFile("/a/first folder"),
                  QUrl::fromLocalFile("/c/%41 #x.txt")});
    EXPECT_EQ(droppedLocalPaths(data),
              QStringList({"/b/second.txt", "/a/first folder", "/c/%41 #x.txt"}));
    // A file manager's address of a name starting with U+FEFF keeps it.
    QMimeData marked;
    marked.setData("text/uri-list", "file:///c/%EF%BB%BFphotos\r\n");
    EXPECT_EQ(droppedLocalPaths(marked), QStringList{QStringLiteral("/c/\uFEFFphotos")});
}

TEST(DroppedLocalPaths, TextAndWebAddressesCarryNoFiles) {
    QMimeData text;
    text.setText("/home/user/a.txt");
    EXPECT_TRUE(droppedLocalPaths(text).isEmpty());

    QMimeData web;
    web.setUrls({QUrl("https://example.org/a.txt")});
    EXPECT_TRUE(droppedLocalPaths(web).isEmpty());

    // Among web addresses, only the local files count.
    QMimeData mixed;
    mixed.setUrls({QUrl("https://example.org/a.txt"), QUrl::fromLocalFile("/local/b.txt")});
    EXPECT_EQ(droppedLocalPaths(mixed), QStringList{"/local/b.txt"});

    EXPECT_TRUE(droppedLocalPaths(QMimeData()).isEmpty());
}

TEST(DropAction, NeverTakesTheFilesAway) {
    EXPECT_EQ(dropActionFor(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction), Qt::CopyAction);
    EXPECT_EQ(dropActionFor(Qt::MoveAction | Qt::LinkAction), Qt::LinkAction);
    // A source that offers only to move its files is refused: it might delete them after.
    EXPECT_EQ(dropActionFor(Qt::MoveAction), std::nullopt);
    EXPECT_EQ(dropActionFor(Qt::IgnoreAction), std::nullopt);
}

TEST_F(FileDropTest, FileFolderFileLandInDropOrder) {
    const QString first = make("first.txt");
    make("tree/a.txt");
    make("tree/B/b.txt");
    make("tree/C/c.txt");
    make("tree/B/D/d.txt");
    const QString last = make("last.txt");

    drop({first, folder("tree"), last});

    EXPECT_EQ(list.paths(),
              QStringList({first, root.filePath("tree/a.txt"), root.filePath("tree/B/b.txt"),
                           root.filePath("tree/C/c.txt"), root.filePath("tree/B/D/d.txt"), last}));
    EXPECT_TRUE(services.messages.shown.empty());
}

TEST_F(FileDropTest, AFolderBringsEveryExtensionButNotTildeOrHiddenArchiveFiles) {
    make("box/report.TXT");
    make("box/no-dot");
    make("box/notes.txt.bak");
    make("box/~$memo.doc");
    make("box/.hidden"); // hidden and writable: exactly hidden + archive
    const QString readOnlyHidden = make("box/.kept");
    ASSERT_TRUE(QFile::setPermissions(readOnlyHidden, QFile::ReadOwner | QFile::ReadUser));

    drop({folder("box")});

    EXPECT_EQ(list.paths(),
              QStringList({root.filePath("box/.kept"), root.filePath("box/no-dot"),
                           root.filePath("box/notes.txt.bak"), root.filePath("box/report.TXT")}));
}

TEST_F(FileDropTest, ASingleFileIsTakenAsItIsWithoutTheFolderRules) {
    const QString tilde = make("~$memo.doc");
    const QString hidden = make(".hidden");
    // Not cleaned either: what the file manager gave is what the list shows.
    const QString doubled = root.path() + "//" + "~$memo.doc";
    drop({tilde, hidden, doubled});
    EXPECT_EQ(list.paths(), QStringList({tilde, hidden, doubled}));
}

TEST_F(FileDropTest, FifosAndDevicesAreLeftOutDroppedAloneOrInAFolder) {
    const QString kept = make("box/kept.txt");
    const QString fifo = root.filePath("fifo");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    ASSERT_EQ(mkfifo(QFile::encodeName(root.filePath("box/fifo")).constData(), 0644), 0);
    drop({fifo, QStringLiteral("/dev/null"), folder("box")});
    EXPECT_EQ(list.paths(), QStringList{kept});
}

TEST_F(FileDropTest, TwoFoldersAreWalkedOnceEach) {
    make("A/a1.txt");
    make("A/sub/a2.txt");
    make("B/b1.txt");
    drop({folder("A"), folder("B")});
    EXPECT_EQ(list.paths(), QStringList({root.filePath("A/a1.txt"), root.filePath("A/sub/a2.txt"),
                                         root.filePath("B/b1.txt")}));
}

TEST_F(FileDropTest, DroppingAgainAddsAgain) {
    const QString file = make("again.txt");
    list.Add(file);
    drop({file});
    drop({root.path()});
    EXPECT_EQ(list.paths(), QStringList({file, file, file}));
}

TEST_F(FileDropTest, APathThatCannotBeExaminedIsSkippedAndTheRestGoesOn) {
    const QString before = make("before.txt");
    const QString after = make("after.txt");
    const QString gone = root.filePath("vanished.txt");
    drop({before, gone, root.filePath("missing folder"), after});
    EXPECT_EQ(list.paths(), QStringList({before, after}));
    EXPECT_TRUE(services.messages.shown.empty());
}

TEST_F(FileDropTest, AnEmptyFolderAddsNothing) {
    drop({folder("empty")});
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(FileDropTest, ALinkToAFileIsTakenAsDropped) {
    const QString target = make("target.txt");
    const QString link = root.filePath("link.txt");
    ASSERT_TRUE(QFile::link(target, link));
    drop({link});
    EXPECT_EQ(list.paths(), QStringList{link});
}

TEST(DropWalkHooks, ReportWithTheFolderWalksOwnLocationAndYield) {
    TestServices services;
    const FolderWalkHooks hooks = dropWalkHooks(services.messages);
    ASSERT_TRUE(hooks.yield);
    ASSERT_TRUE(hooks.reportFailure);
    hooks.reportFailure("Something broke", 152);
    ASSERT_EQ(services.messages.shown.size(), 1u);
    EXPECT_EQ(services.messages.shown[0].text,
              "Something broke\r\nin OrvekTitle2021/08/31.AddFolder.GetSubDirectories2016 at "
              "line 152\r\rPlease email screenshot of this message to support@velmora.example");
    EXPECT_EQ(services.messages.shown[0].title, "Application Error");
    EXPECT_EQ(services.messages.shown[0].icon, MessageBoxes::Icon::Exclamation);
}

TEST_F(FileDropTest, ALinkToAFolderIsWalkedUnderTheLinksName) {
    make("real/inside.txt");
    const QString link = root.filePath("shortcut");
    ASSERT_TRUE(QFile::link(folder("real"), link));
    // A loop below the dropped folder ends the walk instead of running it forever.
    ASSERT_TRUE(QFile::link(folder("real"), root.filePath("real/loop")));
    drop({link});
    EXPECT_EQ(list.paths(), QStringList{root.filePath("shortcut/inside.txt")});
}

} // namespace
} // namespace velmora
