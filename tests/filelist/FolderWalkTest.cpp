#include "FolderWalk.h"
#include "QStringPrinter.h"
#include "TemporaryTree.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace velmora {
namespace {

using testing::TemporaryTree;

// The loaded paths relative to the tree, so expectations read like the tree itself.
QStringList relativeTo(const TemporaryTree& tree, const QStringList& paths) {
    QStringList relative;
    for (const QString& path : paths) {
        EXPECT_TRUE(path.startsWith(tree.root() + QLatin1Char('/'))) << path.toStdString();
        relative.append(path.mid(tree.root().size() + 1));
    }
    return relative;
}

QStringList load(const TemporaryTree& tree, const QString& extension,
                 const FolderWalkHooks& hooks = {}) {
    return relativeTo(tree, filesInFolderTree(tree.root(), QStringLiteral("*.") + extension,
                                              PathStyle::Posix, hooks));
}

bool runningAsRoot() {
    return geteuid() == 0;
}

// Creates a file or a folder named by raw bytes (relative to the tree), which Qt's own
// calls could not name.
void makeRaw(const TemporaryTree& tree, const QByteArray& relative, bool folder) {
    const QByteArray full = QFile::encodeName(tree.root()) + '/' + relative;
    if (folder) {
        ASSERT_EQ(mkdir(full.constData(), 0755), 0) << full.constData();
        return;
    }
    const int descriptor = open(full.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(descriptor, 0) << full.constData();
    close(descriptor);
}

using LeftOut = FolderWalkHooks::LeftOut;
using LeftOutReport = std::pair<LeftOut, QByteArray>;

// What a walk over the tree reports as left out, each path relative to the tree.
FolderWalkHooks collectingLeftOut(const TemporaryTree& tree, std::vector<LeftOutReport>& into) {
    FolderWalkHooks hooks;
    const QByteArray prefix = QFile::encodeName(tree.root()) + '/';
    hooks.leftOut = [&into, prefix](LeftOut what, const QByteArray& path) {
        EXPECT_TRUE(path.startsWith(prefix)) << path.constData();
        into.emplace_back(what, path.mid(prefix.size()));
    };
    return hooks;
}

QList<QByteArray> nativeNames(const QStringList& names) {
    QList<QByteArray> native;
    for (const QString& name : names)
        native.append(QFile::encodeName(name));
    return native;
}

TEST(FolderWalk, FilesComeFolderByFolderLevelByLevel) {
    TemporaryTree tree;
    tree.file(QStringLiteral("A/B/D/d.txt"));
    tree.file(QStringLiteral("A/C/c.txt"));
    tree.file(QStringLiteral("A/B/b.txt"));
    tree.file(QStringLiteral("A/a.txt"));
    tree.file(QStringLiteral("A/C/E/F/f.txt"));

    EXPECT_EQ(load(tree, QStringLiteral("txt")),
              (QStringList{"A/a.txt", "A/B/b.txt", "A/C/c.txt", "A/B/D/d.txt", "A/C/E/F/f.txt"}));

    QStringList folders{tree.path(QStringLiteral("A/"))};
    GetSubDirectories2016(folders, true, PathStyle::Posix);
    EXPECT_EQ(relativeTo(tree, folders),
              (QStringList{"A/", "A/B/", "A/C/", "A/B/D/", "A/C/E/", "A/C/E/F/"}));
}

TEST(FolderWalk, WithoutRecursionOnlyTheChildrenAreAdded) {
    TemporaryTree tree;
    tree.folder(QStringLiteral("B/D"));
    tree.folder(QStringLiteral("C"));

    QStringList folders{tree.root() + QLatin1Char('/')};
    GetSubDirectories2016(folders, false, PathStyle::Posix);

    EXPECT_EQ(relativeTo(tree, folders), (QStringList{"", "B/", "C/"}));
}

TEST(FolderWalk, EachStartFolderIsFollowedByEverythingBelowAllOfThem) {
    TemporaryTree tree;
    tree.folder(QStringLiteral("one/inner"));
    tree.folder(QStringLiteral("two/inner"));

    QStringList folders{tree.path(QStringLiteral("one/")), tree.path(QStringLiteral("missing/")),
                        tree.path(QStringLiteral("two/"))};
    GetSubDirectories2016(folders, true, PathStyle::Posix);

    // An entry that is not a folder is passed over, not removed.
    EXPECT_EQ(relativeTo(tree, folders),
              (QStringList{"one/", "missing/", "two/", "one/inner/", "two/inner/"}));
}

TEST(FolderWalk, ExtensionMatchingIgnoresCaseAndStarTakesNamesWithoutADot) {
    TemporaryTree tree;
    tree.file(QStringLiteral("Report.TXT"));
    tree.file(QStringLiteral("notes.txt.bak"));
    tree.file(QStringLiteral("README"));
    tree.file(QStringLiteral("txt"));
    tree.file(QStringLiteral("b.rtxt"));
    tree.file(QStringLiteral("readmetxt"));
    tree.file(QStringLiteral("sub/b.Txt"));

    // "txt" is "*.txt": the dot is part of the pattern.
    EXPECT_EQ(load(tree, QStringLiteral("txt")), (QStringList{"Report.TXT", "sub/b.Txt"}));
    EXPECT_EQ(ListFilesInFolder(tree.root(), QStringLiteral("*.txt"), PathStyle::Posix),
              QStringList{"Report.TXT"});
    EXPECT_EQ(load(tree, QStringLiteral("*")),
              (QStringList{"b.rtxt", "notes.txt.bak", "README", "readmetxt", "Report.TXT", "txt",
                           "sub/b.Txt"}));
    EXPECT_EQ(load(tree, QStringLiteral("t?t")), (QStringList{"Report.TXT", "sub/b.Txt"}));
    // The answer is used as typed: a leading dot is not taken off.
    EXPECT_TRUE(load(tree, QStringLiteral(".txt")).isEmpty());
}

TEST(FolderWalk, OwnerFilesAndPlainHiddenFilesAreNotLoaded) {
    TemporaryTree tree;
    tree.file(QStringLiteral("~$memo.doc"));
    tree.file(QStringLiteral("memo.doc"));
    tree.file(QStringLiteral("sub/~draft"));
    tree.file(QStringLiteral(".hidden"));
    tree.file(QStringLiteral(".hidden-read-only"));
    tree.setMode(QStringLiteral(".hidden-read-only"), 0444);
    tree.link(QStringLiteral(".hidden-link"), QStringLiteral("memo.doc"));

    EXPECT_EQ(load(tree, QStringLiteral("doc")), QStringList{"memo.doc"});
    // Hidden + archive and nothing else (34) is left out; read-only (35) and a link
    // (a reparse point) are loaded.
    EXPECT_EQ(load(tree, QStringLiteral("*")),
              (QStringList{".hidden-link", ".hidden-read-only", "memo.doc"}));
}

TEST(FolderWalk, LinksToFoldersAreNotFollowedSoALoopEnds) {
    TemporaryTree tree;
    tree.file(QStringLiteral("A/a.txt"));
    tree.file(QStringLiteral("A/B/b.txt"));
    tree.link(QStringLiteral("A/B/back"), tree.path(QStringLiteral("A")));
    tree.link(QStringLiteral("A/self"), QStringLiteral("self"));
    tree.link(QStringLiteral("A/linked.txt"), tree.path(QStringLiteral("A/a.txt")));
    tree.link(QStringLiteral("A/dangling.txt"), tree.path(QStringLiteral("nowhere.txt")));

    EXPECT_EQ(load(tree, QStringLiteral("*")),
              (QStringList{"A/a.txt", "A/linked.txt", "A/B/b.txt"}));

    QStringList folders{tree.path(QStringLiteral("A/"))};
    GetSubDirectories2016(folders, true, PathStyle::Posix);
    EXPECT_EQ(relativeTo(tree, folders), (QStringList{"A/", "A/B/"}));
}

TEST(FolderWalk, AStartFolderThatIsALinkIsWalked) {
    TemporaryTree tree;
    tree.file(QStringLiteral("real/a.txt"));
    tree.file(QStringLiteral("real/sub/b.txt"));
    const QString link = tree.link(QStringLiteral("link"), tree.path(QStringLiteral("real")));

    EXPECT_EQ(filesInFolderTree(link, QStringLiteral("*.*"), PathStyle::Posix),
              (QStringList{link + "/a.txt", link + "/sub/b.txt"}));
}

TEST(FolderWalk, FoldersWithUnusableNamesAreSkippedWithEverythingBelow) {
    TemporaryTree tree;
    tree.file(QStringLiteral("good/a.txt"));
    tree.file(QStringLiteral("what?/b.txt"));
    tree.file(QString::fromUtf16(u"tab\there/c.txt"));
    tree.file(QString::fromUtf16(u"next\u0085line/d.txt"));
    tree.file(QString::fromUtf16(u"caf\u00e9 \u65e5\u672c/e.txt"));

    EXPECT_EQ(load(tree, QStringLiteral("txt")),
              (QStringList{QString::fromUtf16(u"caf\u00e9 \u65e5\u672c/e.txt"), "good/a.txt"}));
}

TEST(FolderWalk, ANameThatIsNotValidTextIsNotLoaded) {
    TemporaryTree tree;
    tree.file(QStringLiteral("plain.txt"));
    const QByteArray raw = QFile::encodeName(tree.root()) + "/bad\xff.txt";
    const int descriptor = open(raw.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(descriptor, 0);
    close(descriptor);

    // The list could only hold a changed name, which would not open.
    EXPECT_EQ(load(tree, QStringLiteral("txt")), QStringList{"plain.txt"});
}

// Names are taken byte for byte as on disk; names that are not valid UTF-8 cannot be held
// unchanged, so they are left out and reported by their bytes.
TEST(FolderWalk, HostileNamesAreKeptExactlyOrReportedByTheirBytes) {
    struct Case {
        const char* what;
        QByteArray entry; // a folder when it ends in "/", holding "in.txt"
        QList<QByteArray> loaded;
        std::vector<LeftOutReport> leftOut;
    };
    const std::vector<Case> cases{
        {"leading U+FEFF", "\xEF\xBB\xBFreport.txt", {"\xEF\xBB\xBFreport.txt"}, {}},
        {"two of them", "\xEF\xBB\xBF\xEF\xBB\xBFr.txt", {"\xEF\xBB\xBF\xEF\xBB\xBFr.txt"}, {}},
        {"U+FEFF inside", "r\xEF\xBB\xBF.txt", {"r\xEF\xBB\xBF.txt"}, {}},
        {"four-byte form", "\xF0\x9F\x98\x80.txt", {"\xF0\x9F\x98\x80.txt"}, {}},
        {"line break", "a\nb.txt", {"a\nb.txt"}, {}},
        {"folder with U+FEFF", "\xEF\xBB\xBFphotos/", {"\xEF\xBB\xBFphotos/in.txt"}, {}},
        {"invalid byte", "bad\xFF.txt", {}, {{LeftOut::FileNameNotUtf8, "bad\xFF.txt"}}},
        {"overlong slash", "\xC0\xAF.txt", {}, {{LeftOut::FileNameNotUtf8, "\xC0\xAF.txt"}}},
        {"surrogate", "\xED\xA0\x80.txt", {}, {{LeftOut::FileNameNotUtf8, "\xED\xA0\x80.txt"}}},
        {"beyond U+10FFFF",
         "\xF4\x90\x80\x80.txt",
         {},
         {{LeftOut::FileNameNotUtf8, "\xF4\x90\x80\x80.txt"}}},
        {"cut short", "\xE2\x82.txt", {}, {{LeftOut::FileNameNotUtf8, "\xE2\x82.txt"}}},
        {"not loaded anyway", "bad\xFF.doc", {}, {}},
        {"folder", "dir\xFF/", {}, {{LeftOut::FolderNameNotUtf8, "dir\xFF"}}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        TemporaryTree tree;
        const bool folder = test.entry.endsWith('/');
        makeRaw(tree, folder ? test.entry.chopped(1) : test.entry, folder);
        if (folder)
            makeRaw(tree, test.entry + "in.txt", false);
        std::vector<LeftOutReport> leftOut;

        EXPECT_EQ(nativeNames(load(tree, QStringLiteral("txt"), collectingLeftOut(tree, leftOut))),
                  test.loaded);
        EXPECT_EQ(leftOut, test.leftOut);
    }
}

// As with find -type f: only regular files, or links to them, are files to tidy.
TEST(FolderWalk, FifosAndDevicesAreLeftOutAndTold) {
    TemporaryTree tree;
    tree.file(QStringLiteral("a.txt"));
    tree.link(QStringLiteral("file link.txt"), QStringLiteral("a.txt"));
    tree.link(QStringLiteral("device link.txt"), QStringLiteral("/dev/null"));
    tree.link(QStringLiteral("fifo link.txt"), QStringLiteral("fifo.txt"));
    tree.folder(QStringLiteral("sub"));
    const QByteArray root = QFile::encodeName(tree.root()) + '/';
    for (const QByteArray fifo : {"fifo.txt", "sub/fifo.txt", ".hidden fifo.txt"})
        ASSERT_EQ(mkfifo((root + fifo).constData(), 0644), 0);
    std::vector<LeftOutReport> expected;
    for (const char* path :
         {"device link.txt", "device.txt", "fifo link.txt", "fifo.txt", "sub/fifo.txt"})
        expected.emplace_back(LeftOut::NotAFile, path);
    // Making a device node takes a privilege a test may lack.
    if (mknod((root + "device.txt").constData(), S_IFCHR | 0644, makedev(1, 3)) != 0)
        expected.erase(expected.begin() + 1);
    std::vector<LeftOutReport> leftOut;

    EXPECT_EQ(load(tree, QStringLiteral("txt"), collectingLeftOut(tree, leftOut)),
              (QStringList{"a.txt", "file link.txt"}));
    std::sort(leftOut.begin(), leftOut.end());
    EXPECT_EQ(leftOut, expected);
}

TEST(FolderWalk, ATreeWithByteOrderMarksListsWhatFindLists) {
    TemporaryTree tree;
    const QString mark(QChar(0xFEFF));
    tree.file(mark + QStringLiteral("photos/a.jpg"));
    tree.file(QStringLiteral("photos/b.jpg"));
    tree.file(mark + QStringLiteral("report.txt"));
    tree.file(QStringLiteral("report.txt"));
    tree.file(QStringLiteral("photos/") + mark + QStringLiteral("deeper/") + mark);

    QProcess find;
    find.start(QStringLiteral("find"), {tree.root(), QStringLiteral("-type"), QStringLiteral("f"),
                                        QStringLiteral("-print0")});
    ASSERT_TRUE(find.waitForFinished());
    QList<QByteArray> found = find.readAllStandardOutput().split('\0');
    found.removeAll(QByteArray());
    QList<QByteArray> walked =
        nativeNames(filesInFolderTree(tree.root(), QStringLiteral("*.*"), PathStyle::Posix));
    std::sort(found.begin(), found.end());
    std::sort(walked.begin(), walked.end());

    EXPECT_EQ(walked, found);
    EXPECT_EQ(walked.size(), 5);
}

TEST(FolderWalk, AStopRequestEndsTheWalkAtItsNextTurn) {
    TemporaryTree tree;
    for (int folder = 0; folder < 40; ++folder)
        tree.file(QStringLiteral("f%1/a.txt").arg(folder));
    std::stop_source closing;
    int turns = 0;
    FolderWalkHooks hooks;
    hooks.yieldInterval = std::chrono::milliseconds(0);
    hooks.stop = closing.get_token();
    // The window closes during the walk's first turn.
    hooks.yield = [&] {
        ++turns;
        closing.request_stop();
    };

    EXPECT_TRUE(load(tree, QStringLiteral("txt"), hooks).isEmpty());
    EXPECT_LE(turns, 2);
}

// Wherever the window asks for the stop (before a folder, inside a large folder's
// listing, in the last pass over the folders), the walk ends at once: at most two more
// turns, and only what it had found by then.
TEST(FolderWalk, AStopRequestEndsTheWalkWhereverItComes) {
    TemporaryTree tree;
    for (int file = 0; file < 2100; ++file)
        tree.file(QStringLiteral("big/%1.txt").arg(file));
    for (int folder = 0; folder < 4; ++folder)
        tree.file(QStringLiteral("small%1/a.txt").arg(folder));
    int turns = 0;
    FolderWalkHooks hooks;
    hooks.yieldInterval = std::chrono::milliseconds(0);
    hooks.yield = [&turns] { ++turns; };
    const QStringList whole = load(tree, QStringLiteral("txt"), hooks);
    ASSERT_EQ(whole.size(), 2104);
    const int wholeTurns = turns;
    // A turn per folder as the walk reads it, per 512 names of a listing, per folder of
    // the last pass.
    ASSERT_GE(wholeTurns, 6 + 2100 / 512 + 6);

    for (int stopAt = 1; stopAt <= wholeTurns; ++stopAt) {
        SCOPED_TRACE(stopAt);
        std::stop_source closing;
        turns = 0;
        hooks.stop = closing.get_token();
        hooks.yield = [&] {
            if (++turns == stopAt)
                closing.request_stop();
        };
        const QStringList part = load(tree, QStringLiteral("txt"), hooks);
        EXPECT_LE(turns, stopAt + 2);
        EXPECT_EQ(part, whole.mid(0, part.size()));
    }
}

TEST(FolderWalk, AStartFolderWithItsSeparatorGivesSingleSeparators) {
    TemporaryTree tree;
    tree.file(QStringLiteral("a.txt"));
    tree.file(QStringLiteral("B/b.txt"));

    EXPECT_EQ(
        filesInFolderTree(tree.root() + QLatin1Char('/'), QStringLiteral("*.*"), PathStyle::Posix),
        (QStringList{tree.path(QStringLiteral("a.txt")), tree.path(QStringLiteral("B/b.txt"))}));
}

TEST(FolderWalk, AFolderThatMayNotBeReadIsDroppedSilently) {
    if (runningAsRoot())
        GTEST_SKIP() << "permission bits do not bind the superuser; velmora-find's tests run "
                        "this walk as an unprivileged user";
    TemporaryTree tree;
    tree.file(QStringLiteral("a.txt"));
    tree.file(QStringLiteral("closed/x.txt"));
    tree.file(QStringLiteral("closed/below/y.txt"));
    tree.file(QStringLiteral("listable/z.txt"));
    tree.file(QStringLiteral("listable/below/w.txt"));
    tree.file(QStringLiteral("open/b.txt"));
    tree.file(QStringLiteral("open/deeper/c.txt"));
    tree.setMode(QStringLiteral("closed"), 0);
    tree.setMode(QStringLiteral("listable"), 0444); // names can be read, nothing opened
    int reported = 0;
    std::vector<LeftOutReport> leftOut;
    FolderWalkHooks hooks = collectingLeftOut(tree, leftOut);
    hooks.reportFailure = [&reported](const QString&, int) { ++reported; };

    const QStringList loaded = load(tree, QStringLiteral("txt"), hooks);

    tree.setMode(QStringLiteral("closed"), 0755);
    tree.setMode(QStringLiteral("listable"), 0755);
    EXPECT_EQ(loaded, (QStringList{"a.txt", "open/b.txt", "open/deeper/c.txt"}));
    EXPECT_EQ(reported, 0);
    // Only a caller that asks hears of them.
    EXPECT_EQ(leftOut, (std::vector<LeftOutReport>{{LeftOut::FolderUnreadable, "closed"},
                                                   {LeftOut::FolderUnreadable, "listable/below"}}));
}

TEST(FolderWalk, FilesBeyondThePathLimitAreLeftOutAndTheWalkEnds) {
    // Built through descriptors: the deepest paths are too long to name.
    TemporaryTree tree;
    const QByteArray part(200, 'p');
    QStringList expected;
    std::vector<LeftOutReport> told;
    QByteArray relative;
    QString folder = tree.root();
    int descriptor = open(QFile::encodeName(folder).constData(), O_DIRECTORY);
    ASSERT_GE(descriptor, 0);
    std::vector<int> descriptors{descriptor};
    const auto makeFile = [&](int in, const QByteArray& name, const QByteArray& path) {
        const int file = openat(in, name.constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(file, 0);
        close(file);
        if (QFile::encodeName(tree.root()).size() + 1 + path.size() < 4096)
            expected.append(tree.root() + QLatin1Char('/') + QString::fromLatin1(path));
        else
            told.emplace_back(LeftOut::PathTooLong, path);
    };
    for (int depth = 0; depth < 24; ++depth) {
        makeFile(descriptor, "f.txt", relative + "f.txt");
        ASSERT_EQ(mkdirat(descriptor, part.constData(), 0755), 0);
        descriptor = openat(descriptor, part.constData(), O_DIRECTORY);
        ASSERT_GE(descriptor, 0);
        descriptors.push_back(descriptor);
        folder += QLatin1Char('/') + QString::fromLatin1(part);
        relative += part + '/';
    }
    ASSERT_GT(folder.size(), 4096);
    // Branches beyond the limit, each walked and left again.
    for (const QByteArray branch : {"x", "y", "y/z"}) {
        ASSERT_EQ(mkdirat(descriptor, branch.constData(), 0755), 0);
        makeFile(descriptor, branch + "/g.txt", relative + branch + "/g.txt");
    }
    ASSERT_EQ(mkfifoat(descriptor, "y/pipe.txt", 0644), 0);
    told.emplace_back(LeftOut::NotAFile, relative + "y/pipe.txt");

    std::vector<LeftOutReport> leftOut;
    const QStringList loaded = filesInFolderTree(
        tree.root(), QStringLiteral("*.txt"), PathStyle::Posix, collectingLeftOut(tree, leftOut));
    const QStringList loadedUntold =
        filesInFolderTree(tree.root(), QStringLiteral("*.txt"), PathStyle::Posix);

    for (const int open : descriptors)
        close(open);
    EXPECT_EQ(loaded, expected);
    EXPECT_EQ(loadedUntold, expected);
    EXPECT_GT(expected.size(), 15);
    std::sort(leftOut.begin(), leftOut.end());
    std::sort(told.begin(), told.end());
    EXPECT_EQ(leftOut, told);
    EXPECT_GT(told.size(), 6u);
}

TEST(FolderWalk, TheWindowGetsATurnByElapsedTimeNotPerFolder) {
    TemporaryTree tree;
    for (int folder = 0; folder < 40; ++folder)
        tree.file(QStringLiteral("f%1/a.txt").arg(folder));
    int turns = 0;
    FolderWalkHooks hooks;
    hooks.yield = [&turns] { ++turns; };

    hooks.yieldInterval = std::chrono::hours(1);
    EXPECT_EQ(load(tree, QStringLiteral("txt"), hooks).size(), 40);
    EXPECT_EQ(turns, 0);

    hooks.yieldInterval = std::chrono::milliseconds(0);
    EXPECT_EQ(load(tree, QStringLiteral("txt"), hooks).size(), 40);
    EXPECT_GE(turns, 41); // once the interval is up, every folder is a chance
}

TEST(FolderFileTests, ListingKeepsOpenableFilesSortedLikeAListing) {
    TemporaryTree tree;
    tree.file(QStringLiteral("b.txt"));
    tree.file(QStringLiteral("A.txt"));
    tree.file(QStringLiteral(".c.txt"));
    tree.file(QStringLiteral("~d.txt"));
    tree.folder(QStringLiteral("e.txt"));
    tree.link(QStringLiteral("f.txt"), QStringLiteral("missing"));

    // The listing itself neither skips "~" names nor hidden files; loading does.
    EXPECT_EQ(ListFilesInFolder(tree.root(), QStringLiteral("*.txt"), PathStyle::Posix),
              (QStringList{".c.txt", "A.txt", "b.txt", "~d.txt"}));
    EXPECT_TRUE(ListFilesInFolder(tree.path(QStringLiteral("none")), QStringLiteral("*.*"),
                                  PathStyle::Posix)
                    .isEmpty());
}

TEST(FolderFileTests, FoldersAndFilesAreToldApart) {
    TemporaryTree tree;
    const QString file = tree.file(QStringLiteral("a.txt"));
    const QString folder = tree.folder(QStringLiteral("B"));

    EXPECT_TRUE(IsFolder(folder));
    EXPECT_TRUE(IsFolder(folder + QLatin1Char('/')));
    EXPECT_FALSE(IsFolder(file));
    EXPECT_FALSE(IsFolder(tree.path(QStringLiteral("missing"))));
    EXPECT_FALSE(IsFolder(QString()));
    EXPECT_TRUE(FileCanBeOpened(file));
    EXPECT_FALSE(FileCanBeOpened(folder));
    EXPECT_FALSE(FileCanBeOpened(tree.path(QStringLiteral("missing"))));
}

TEST(FolderFileTests, BadCharactersAreControlsTheLatinOneControlsAndTheQuestionMark) {
    EXPECT_FALSE(HasBadCharacters(QString()));
    EXPECT_FALSE(HasBadCharacters(QStringLiteral("plain name (1) ~!")));
    EXPECT_FALSE(HasBadCharacters(QString::fromUtf16(u"\u00a0caf\u00e9 \u65e5\u672c \U0001F600")));
    EXPECT_FALSE(HasBadCharacters(QStringLiteral(" ~")));
    for (const char16_t bad : {u'\x01', u'\x1f', u'\x7f', u'\x80', u'\x9f', u'?'})
        EXPECT_TRUE(HasBadCharacters(QStringLiteral("a") + QChar(bad) + QStringLiteral("b")))
            << int(bad);
}

} // namespace
} // namespace velmora
