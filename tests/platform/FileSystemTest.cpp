#include "FileSystem.h"
#include "QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(root.isValid()); }

    QString path(const QString& relative) const { return root.filePath(relative); }

    void makeFile(const QString& relative) const {
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << relative.toStdString();
    }

    void makeFolder(const QString& relative) const {
        ASSERT_TRUE(QDir().mkpath(path(relative))) << relative.toStdString();
    }

    void makeLink(const QString& target, const QString& relative) const {
        ASSERT_TRUE(QFile::link(target, path(relative))) << relative.toStdString();
    }

    QTemporaryDir root;
};

TEST_F(FileSystemTest, AttributeBitsDescribeWhatThePathIs) {
    makeFile(QStringLiteral("plain.txt"));
    makeFile(QStringLiteral(".hidden"));
    makeFolder(QStringLiteral("folder"));
    makeFolder(QStringLiteral(".config"));
    makeLink(path(QStringLiteral("plain.txt")), QStringLiteral("file-link"));
    makeLink(path(QStringLiteral("folder")), QStringLiteral("folder-link"));
    makeLink(path(QStringLiteral("nowhere")), QStringLiteral("dangling"));

    EXPECT_EQ(readAttributeBits(path(QStringLiteral("plain.txt"))), Archive);
    EXPECT_EQ(readAttributeBits(path(QStringLiteral(".hidden"))), Archive | Hidden);
    EXPECT_EQ(readAttributeBits(path(QStringLiteral("folder"))), Directory);
    EXPECT_EQ(readAttributeBits(path(QStringLiteral(".config"))), Directory | Hidden);
    // A trailing separator still names the same hidden folder.
    EXPECT_EQ(readAttributeBits(path(QStringLiteral(".config/"))), Directory | Hidden);
    EXPECT_EQ(readAttributeBits(path(QStringLiteral("file-link"))), ReparsePoint | Archive);
    EXPECT_EQ(readAttributeBits(path(QStringLiteral("folder-link"))), ReparsePoint | Directory);
    EXPECT_EQ(readAttributeBits(path(QStringLiteral("dangling"))), ReparsePoint | Archive);
}

TEST_F(FileSystemTest, ReadOnlyFollowsTheOwnerWriteBit) {
    makeFile(QStringLiteral("locked.txt"));
    ASSERT_EQ(chmod(QFile::encodeName(path(QStringLiteral("locked.txt"))).constData(), 0444), 0);
    EXPECT_EQ(readAttributeBits(path(QStringLiteral("locked.txt"))), Archive | ReadOnly);
}

TEST_F(FileSystemTest, AttributeBitsOfAMissingPathAreUnreadable) {
    EXPECT_FALSE(readAttributeBits(path(QStringLiteral("missing.txt"))).has_value());
    EXPECT_FALSE(readAttributeBits(QString()).has_value());
    // A file used as a folder is no path at all.
    makeFile(QStringLiteral("plain.txt"));
    EXPECT_FALSE(readAttributeBits(path(QStringLiteral("plain.txt/inner"))).has_value());
}

TEST_F(FileSystemTest, PresenceAndOpenabilityFollowLinks) {
    makeFile(QStringLiteral("plain.txt"));
    makeFolder(QStringLiteral("folder"));
    makeLink(path(QStringLiteral("plain.txt")), QStringLiteral("file-link"));
    makeLink(path(QStringLiteral("nowhere")), QStringLiteral("dangling"));

    EXPECT_TRUE(FileIsPresent(path(QStringLiteral("plain.txt"))));
    EXPECT_TRUE(FileIsPresent(path(QStringLiteral("folder"))));
    EXPECT_TRUE(FileIsPresent(path(QStringLiteral("file-link"))));
    EXPECT_FALSE(FileIsPresent(path(QStringLiteral("dangling"))));
    EXPECT_FALSE(FileIsPresent(path(QStringLiteral("missing"))));
    EXPECT_FALSE(FileIsPresent(QString()));

    EXPECT_TRUE(canOpenFile(path(QStringLiteral("plain.txt"))));
    EXPECT_TRUE(canOpenFile(path(QStringLiteral("file-link"))));
    EXPECT_FALSE(canOpenFile(path(QStringLiteral("folder"))));
    EXPECT_FALSE(canOpenFile(path(QStringLiteral("dangling"))));
    EXPECT_FALSE(canOpenFile(path(QStringLiteral("missing"))));
    EXPECT_FALSE(canOpenFile(QString()));
}

TEST_F(FileSystemTest, NamesWithAnyCharactersAreHandled) {
    const QString name = QStringLiteral("Ünïcødé 名前 #1 ~$?.txt");
    makeFile(name);
    EXPECT_TRUE(FileIsPresent(path(name)));
    EXPECT_TRUE(canOpenFile(path(name)));
    EXPECT_EQ(listFiles(root.path(), QStringLiteral("*.TXT")), QStringList{name});
}

TEST(Wildcard, MatchesLikeDirectoryListingPatterns) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.*", "README", true},    {"*.*", "a.b.c", true},
        {"*.*", ".hidden", true},   {"*", "", true},
        {"*.txt", "A.TXT", true},   {"*.txt", "a.txt.bak", false},
        {"*.txt", "txt", false},    {"?.txt", "a.txt", true},
        {"?.txt", "ab.txt", false}, {"?.txt", ".txt", false},
        {"a*b*c", "aXXbYYc", true}, {"*ab", "aab", true},
        {"a*a*a", "aaaa", true},    {"a*a*a", "aa", false},
        {"*.tx?", "x.txt", true},   {"*É*", "café", true},
        {"*.doc", "x.docx", false}, {"x.*", "x", true},
        {"x.*", "xy", false},       {"*.", "abc", false},
        {"**.txt", "a.txt", true},  {"*.txt", "a.txt ", false},
        {"*.*.*", "a.b", false},    {"*.*.*", "a.b.c", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wildcardMatches(QString::fromUtf8(c.pattern), QString::fromUtf8(c.name)),
                  c.matches)
            << c.pattern << " against " << c.name;
}

TEST_F(FileSystemTest, ListingHoldsMatchingFilesSortedWithoutCase) {
    for (const char* name : {"b.txt", "A.txt", "c.TXT", "d.doc", ".hidden.txt", "noext"})
        makeFile(QString::fromLatin1(name));
    makeFolder(QStringLiteral("sub.txt"));
    makeLink(path(QStringLiteral("b.txt")), QStringLiteral("link.txt"));
    makeLink(path(QStringLiteral("sub.txt")), QStringLiteral("folder-link.txt"));
    makeLink(path(QStringLiteral("nowhere")), QStringLiteral("dangling.txt"));

    // Folders and links to folders are not files; a dangling link is a name like any other.
    EXPECT_EQ(listFiles(root.path(), QStringLiteral("*.txt")),
              (QStringList{QStringLiteral(".hidden.txt"), QStringLiteral("A.txt"),
                           QStringLiteral("b.txt"), QStringLiteral("c.TXT"),
                           QStringLiteral("dangling.txt"), QStringLiteral("link.txt")}));
    EXPECT_EQ(listFiles(root.path(), QStringLiteral("*.*")).size(), 8);
    EXPECT_TRUE(listFiles(root.path(), QStringLiteral("*.xls")).isEmpty());
    EXPECT_TRUE(listFiles(path(QStringLiteral("missing")), QStringLiteral("*.*")).isEmpty());
}

TEST(SortNames, IgnoresCaseAndBreaksTiesTheSameWayEveryTime) {
    QStringList names{QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("B"),
                      QStringLiteral("A"), QStringLiteral("c")};
    sortNames(names);
    EXPECT_EQ(names, (QStringList{QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("B"),
                                  QStringLiteral("b"), QStringLiteral("c")}));
}

TEST_F(FileSystemTest, FolderObjectListsRealSubfoldersOnly) {
    makeFolder(QStringLiteral("top/zeta"));
    makeFolder(QStringLiteral("top/Alpha"));
    makeFolder(QStringLiteral("top/.hidden"));
    makeFile(QStringLiteral("top/file"));
    makeLink(path(QStringLiteral("top/zeta")), QStringLiteral("top/loop"));

    const FolderObject folder = GetFolder(path(QStringLiteral("top")));
    EXPECT_EQ(folder.SubFolders(), (QStringList{QStringLiteral(".hidden"), QStringLiteral("Alpha"),
                                                QStringLiteral("zeta")}));
    EXPECT_EQ(folder.Attributes(), Directory);
    EXPECT_FALSE(folder.IsRootFolder());
    EXPECT_TRUE(GetFolder(QStringLiteral("/")).IsRootFolder());
    EXPECT_TRUE(GetFolder(QStringLiteral("//")).IsRootFolder());
}

TEST_F(FileSystemTest, GetFolderRefusesWhatIsNoFolder) {
    makeFile(QStringLiteral("file"));
    for (const QString& bad :
         {path(QStringLiteral("missing")), path(QStringLiteral("file")), QString()}) {
        try {
            GetFolder(bad);
            ADD_FAILURE() << "no error for " << bad.toStdString();
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), 76);
            EXPECT_STREQ(error.what(), "Path not found");
        }
    }
}

TEST_F(FileSystemTest, AVanishedFolderReportsPathNotFound) {
    makeFolder(QStringLiteral("brief"));
    const FolderObject folder = GetFolder(path(QStringLiteral("brief")));
    ASSERT_TRUE(QDir(path(QStringLiteral("brief"))).removeRecursively());
    try {
        folder.SubFolders();
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), 76);
    }
    EXPECT_THROW(folder.Attributes(), RuntimeError);
}

TEST_F(FileSystemTest, AnUnreadableFolderReportsPermissionDenied) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permission bits do not bind the superuser";
    makeFolder(QStringLiteral("locked/inner"));
    const QByteArray locked = QFile::encodeName(path(QStringLiteral("locked")));
    ASSERT_EQ(chmod(locked.constData(), 0), 0);
    try {
        GetFolder(path(QStringLiteral("locked"))).SubFolders();
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), 70);
        EXPECT_STREQ(error.what(), "Permission denied");
    }
    chmod(locked.constData(), 0700);
}

} // namespace
} // namespace velmora
