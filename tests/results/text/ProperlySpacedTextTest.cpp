#include "ProperlySpacedText.h"

#include "ColumnWidths.h"
#include "TableFixture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <utility>
#include <vector>

namespace velmora {
namespace {

using testing::TableFixture;

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

struct Reported {
    double value;
    QString text;
    friend bool operator==(const Reported&, const Reported&) = default;
};

void PrintTo(const Reported& reported, std::ostream* out) {
    *out << "(" << reported.value << ", \"" << reported.text.toStdString() << "\")";
}

struct ProgressLog {
    std::vector<Reported> seen;
    WriteProgress callback() {
        return [this](double value, const QString& text) { seen.push_back({value, text}); };
    }
};

// Gives short fields while the widths are measured and longer ones afterwards, as a list
// edited during a save would.
class GrowingTable : public TableFixture {
public:
    using TableFixture::TableFixture;
    QString field(int row, int column) const override {
        const QString text = TableFixture::field(row, column);
        return ++reads_ > rowCount() * columnCount() ? text + text : text;
    }

private:
    mutable int reads_ = 0;
};

// Accepts a given number of bytes, then refuses every write.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 capacity) : capacity_(capacity) { open(QIODevice::WriteOnly); }
    int writeCalls = 0;
    QByteArray received;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        ++writeCalls;
        if (received.size() + size > capacity_) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        received.append(data, size);
        return size;
    }

private:
    qint64 capacity_;
};

TEST(ProperlySpacedText, PadsTickedPathsToTheLongestPath) {
    const auto list = TableFixture::files({{"C:\\a.txt", true}, {"C:\\dir\\b.txt", true}});
    EXPECT_EQ(properlySpacedText(list), QString("File(s)     \t\r\n"
                                                "C:\\a.txt    \t\r\n"
                                                "C:\\dir\\b.txt\t\r\n"));
}

TEST(ProperlySpacedText, EmptyListGivesTheBareHeader) {
    EXPECT_EQ(properlySpacedText(TableFixture::files({})), QString("File(s)\t\r\n"));
}

TEST(ProperlySpacedText, UntickedRowsWidenTheColumnsButAreNotWritten) {
    const auto none = TableFixture::files({{"/a", false}, {"/long/path/name", false}});
    EXPECT_EQ(properlySpacedText(none), QString("File(s)        \t\r\n"));

    const auto some = TableFixture::files(
        {{"/x/one", true}, {"/a/very/long/unticked", false}, {"/x/three", true}});
    EXPECT_EQ(properlySpacedText(some), QString("File(s)              \t\r\n"
                                                "/x/one               \t\r\n"
                                                "/x/three             \t\r\n"));
}

TEST(ProperlySpacedText, EveryColumnHasItsOwnWidthAndEndsInATab) {
    const TableFixture list({"Name", "Size", "Folder"},
                            {{{"a", "12345", ""}, true}, {{"bbbbbb", "1", "/x"}, true}});
    EXPECT_EQ(properlySpacedText(list), QString("Name  \tSize \tFolder\t\r\n"
                                                "a     \t12345\t      \t\r\n"
                                                "bbbbbb\t1    \t/x    \t\r\n"));
}

TEST(ProperlySpacedText, FieldLongerThanItsWidthIsKeptWholeWithoutFiller) {
    QString line;
    appendPaddedField(line, u"abcdef", 3);
    appendPaddedField(line, u"ab", 3);
    appendPaddedField(line, u"abc", 3);
    EXPECT_EQ(line, QString("abcdef\tab \tabc\t"));

    // The widths are taken once, before writing; a list that grows meanwhile is written
    // with its new, longer fields.
    const GrowingTable list({"File(s)"}, {{{"/x/abcdefgh"}, true}, {{"/y"}, true}});
    EXPECT_EQ(properlySpacedText(list), QString("File(s)    \t\r\n"
                                                "/x/abcdefgh/x/abcdefgh\t\r\n"
                                                "/y/y       \t\r\n"));
}

TEST(ProperlySpacedText, WidthsCountUtf16UnitsAndTheFileIsUtf8WithoutMark) {
    const auto list =
        TableFixture::files({{"/tmp/é", true}, {"/tmp/日本語", true}, {"/t/😀😀", true}});
    // "/tmp/日本語" is 8 units long, "/t/😀😀" 7: the emoji take two units each.
    const QString expected =
        QStringLiteral("File(s) \t\r\n/tmp/é  \t\r\n/tmp/日本語\t\r\n/t/😀😀 \t\r\n");
    EXPECT_EQ(properlySpacedText(list), expected);

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writeProperlySpaced(list, buffer).ok);
    EXPECT_EQ(buffer.data(), expected.toUtf8());
    EXPECT_FALSE(buffer.data().startsWith("\xEF\xBB\xBF"));
}

TEST(ProperlySpacedText, DeviceGetsTheSameBytesAsTheStringForManyRows) {
    std::vector<std::pair<QString, bool>> paths;
    for (int row = 0; row < 30000; ++row)
        paths.emplace_back(QStringLiteral("/data/folder%1/file-ü-%2.txt").arg(row % 97).arg(row),
                           row % 3 != 0);
    const auto list = TableFixture::files(paths);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writeProperlySpaced(list, buffer).ok);
    EXPECT_EQ(buffer.data(), properlySpacedText(list).toUtf8());
}

TEST(ProperlySpacedText, DeviceThatStopsTakingDataEndsTheWriteWithItsReason) {
    std::vector<std::pair<QString, bool>> paths;
    for (int row = 0; row < 50000; ++row)
        paths.emplace_back(QStringLiteral("/data/%1").arg(row), true);
    const auto list = TableFixture::files(paths);
    FailingDevice device(100000);
    ProgressLog log;
    const WriteOutcome outcome = writeProperlySpaced(list, device, log.callback(), "out.txt");
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.error, QString("No space left on device"));
    EXPECT_LT(device.writeCalls, 5) << "writing must stop at the first refusal";
    ASSERT_FALSE(log.seen.empty());
    EXPECT_EQ(log.seen.back(), (Reported{0, "Progress Bar"}));
    for (const Reported& reported : log.seen)
        EXPECT_NE(reported.text, QString("Done."));
}

TEST(ProperlySpacedTextProgress, FollowsTheSaveStepsForTickedRowsOnly) {
    const auto list = TableFixture::files({{"/a", true}, {"/b", false}, {"/c", true}});
    ProgressLog log;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writeProperlySpaced(list, buffer, log.callback(), "results.txt").ok);
    const QString writing = "Writing file: results.txt";
    const std::vector<Reported> expected{
        {1, writing},   {10, writing},  {20, writing},       {1 / 3.0 * 100, writing},
        {100, writing}, {100, "Done."}, {0, "Progress Bar"},
    };
    EXPECT_EQ(log.seen, expected);
}

TEST(ProperlySpacedTextProgress, NamesEveryThousandthTickedRowAndStaysWithinTheScale) {
    std::vector<std::pair<QString, bool>> paths;
    for (int row = 1; row <= 4000; ++row)
        paths.emplace_back(QStringLiteral("/p%1").arg(row), row != 2000);
    const auto list = TableFixture::files(paths);
    ProgressLog log;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writeProperlySpaced(list, buffer, log.callback(), "big.txt").ok);

    // 3 steps before the rows, 3999 ticked rows, then "Done." and the idle bar.
    ASSERT_EQ(log.seen.size(), 3u + 3999u + 2u);
    const auto rowReport = [&](int row) { return log.seen[3 + row - 1 - (row > 2000 ? 1 : 0)]; };
    EXPECT_EQ(rowReport(1), (Reported{(1 + 2) / 4000.0 * 100, "Writing file: big.txt"}));
    EXPECT_EQ(rowReport(999).text, QString("Writing file: big.txt"));
    EXPECT_EQ(rowReport(1000).text, QString("Writing file: big.txt (1000)"));
    // Row 2000 is not ticked, so its number is never shown.
    EXPECT_EQ(rowReport(2999).text, QString("Writing file: big.txt (1000)"));
    EXPECT_EQ(rowReport(3000).text, QString("Writing file: big.txt (3000)"));
    EXPECT_DOUBLE_EQ(rowReport(3997).value, 99.975);
    // (3998 + 2) / 4000 * 100 is exactly 100; the last two rows would pass it.
    EXPECT_EQ(rowReport(3999).value, 100.0);
    EXPECT_EQ(rowReport(4000), (Reported{100, "Writing file: big.txt (4000)"}));
    for (const Reported& reported : log.seen) {
        EXPECT_GE(reported.value, 0.0);
        EXPECT_LE(reported.value, 100.0);
    }
}

TEST(SaveListviewProperlySpaced, WritesTheFileAndReplacesAnOldOne) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("results");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
    }
    const auto list = TableFixture::files({{"C:\\a.txt", true}, {"C:\\dir\\b.txt", true}});
    ProgressLog log;
    const WriteOutcome outcome = SaveListviewProperlySpaced(list, path, log.callback());
    ASSERT_TRUE(outcome.ok) << outcome.error.toStdString();
    EXPECT_EQ(readAll(path),
              QByteArray("File(s)     \t\r\nC:\\a.txt    \t\r\nC:\\dir\\b.txt\t\r\n"));
    ASSERT_EQ(log.seen.size(), 7u);
    EXPECT_EQ(log.seen.front(), (Reported{1, "Writing file: results"}));
    EXPECT_EQ(log.seen[5], (Reported{100, "Done."}));
    EXPECT_EQ(log.seen[6], (Reported{0, "Progress Bar"}));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"results"})
        << "no temporary file may be left behind";
}

TEST(SaveListviewProperlySpaced, FailureIsOneErrorAndLeavesNoFile) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("missing/results.txt");
    ProgressLog log;
    const WriteOutcome outcome =
        SaveListviewProperlySpaced(TableFixture::files({{"/a", true}}), path, log.callback());
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.error.contains(path)) << outcome.error.toStdString();
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_FALSE(log.seen.empty());
    EXPECT_EQ(log.seen.back(), (Reported{0, "Progress Bar"}));
    for (const Reported& reported : log.seen)
        EXPECT_NE(reported.text, QString("Done."));
}

TEST(SaveListviewProperlySpaced, FolderInTheWayIsReportedAndKept) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("taken");
    ASSERT_TRUE(QDir(folder.path()).mkdir("taken"));
    QFile inside(path + "/keep.txt");
    ASSERT_TRUE(inside.open(QIODevice::WriteOnly));
    inside.close();

    const WriteOutcome outcome =
        SaveListviewProperlySpaced(TableFixture::files({{"/a", true}}), path);
    EXPECT_FALSE(outcome.ok);
    EXPECT_FALSE(outcome.error.isEmpty());
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_TRUE(QFile::exists(path + "/keep.txt"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{})
        << "no temporary file may be left behind";
}

struct stat statusOf(const QString& path) {
    struct stat status {};
    EXPECT_EQ(lstat(QFile::encodeName(path).constData(), &status), 0) << path.toStdString();
    return status;
}

const QByteArray savedText = "File(s)\t\r\n/a     \t\r\n";

WriteOutcome saveOneRow(const QString& path) {
    return SaveListviewProperlySpaced(TableFixture::files({{"/a", true}}), path);
}

TEST(SaveListviewProperlySpaced, WhatIsNotAPlainFileIsRefusedUntouched) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    struct Node {
        const char* name;
        mode_t type;
    };
    for (const Node node : {Node{"pipe", S_IFIFO}, Node{"null-device", S_IFCHR}}) {
        SCOPED_TRACE(node.name);
        const QString path = folder.filePath(node.name);
        // Only the superuser may make a device; a pipe anyone.
        if (mknod(QFile::encodeName(path).constData(), node.type | 0666, makedev(1, 3)) != 0)
            continue;

        const WriteOutcome outcome = saveOneRow(path);
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.error, path + QStringLiteral(" is not a regular file. Nothing was "
                                                       "written; choose another name."));
        EXPECT_EQ(statusOf(path).st_mode & S_IFMT, node.type);
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{})
        << "no temporary file may be left behind";
}

TEST(SaveListviewProperlySpaced, EveryNameOfTheFileShowsTheNewText) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // A leading U+FEFF is part of the name: the link must lead to this file, not "results.txt".
    const QString path = folder.filePath(QChar(0xFEFF) + QStringLiteral("results.txt"));
    const QString hardLink = folder.filePath("also results.txt");
    const QString symbolicLink = folder.filePath("link.txt");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
    }
    ASSERT_EQ(link(QFile::encodeName(path).constData(), QFile::encodeName(hardLink).constData()),
              0);
    ASSERT_TRUE(QFile::link(path, symbolicLink));

    ASSERT_TRUE(saveOneRow(hardLink).ok);
    EXPECT_EQ(readAll(path), savedText);
    EXPECT_EQ(statusOf(path).st_ino, statusOf(hardLink).st_ino);
    EXPECT_EQ(statusOf(path).st_nlink, 2u);

    ASSERT_TRUE(SaveListviewProperlySpaced(TableFixture::files({{"/b", true}}), symbolicLink).ok);
    EXPECT_TRUE(QFileInfo(symbolicLink).isSymLink());
    EXPECT_EQ(readAll(hardLink), QByteArray("File(s)\t\r\n/b     \t\r\n"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::System).size(), 3);

    // A link to a name that is not valid UTF-8 writes that very file, not one named after
    // the name's nearest text.
    const QByteArray unnamed = QFile::encodeName(folder.path()) + "/\xff.txt";
    std::ofstream(unnamed.constData()) << "old";
    const QString toUnnamed = folder.filePath("to unnamed.txt");
    ASSERT_EQ(symlink(unnamed.constData(), QFile::encodeName(toUnnamed).constData()), 0);
    ASSERT_TRUE(saveOneRow(toUnnamed).ok);
    QFile written;
    ASSERT_TRUE(written.open(open(unnamed.constData(), O_RDONLY), QIODevice::ReadOnly,
                             QFileDevice::AutoCloseHandle));
    EXPECT_EQ(written.readAll(), savedText);
    EXPECT_EQ(unlink(unnamed.constData()), 0); // beyond QTemporaryDir's reach
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("\uFFFD.txt"))));
}

void expectReplacedKeepingModeAndOwner(mode_t mode) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("results.txt");
    ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));
    const QByteArray native = QFile::encodeName(path);
    // Run by the superuser, the file is someone else's; otherwise it stays the user's.
    const uid_t owner = geteuid() == 0 ? 65534 : geteuid();
    const gid_t group = geteuid() == 0 ? 65534 : getegid();
    ASSERT_EQ(chown(native.constData(), owner, group), 0);
    ASSERT_EQ(chmod(native.constData(), mode), 0);
    const ino_t before = statusOf(path).st_ino;

    ASSERT_TRUE(saveOneRow(path).ok);
    const struct stat after = statusOf(path);
    EXPECT_NE(after.st_ino, before) << "a single-name file is replaced whole";
    EXPECT_EQ(after.st_mode & 07777, mode);
    EXPECT_EQ(after.st_uid, owner);
    EXPECT_EQ(after.st_gid, group);
    EXPECT_EQ(readAll(path), savedText);
}

// Set-user, set-group and sticky bits too: a change of owner clears the first two.
TEST(SaveListviewProperlySpaced, AReplacedFileKeepsItsPermissionsAndOwner) {
    for (const mode_t mode : {mode_t{0604}, mode_t{07754}}) {
        SCOPED_TRACE(mode);
        expectReplacedKeepingModeAndOwner(mode);
    }
}

// Makes every write past the first bytes of a file fail, as a full disk would.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit limit{bytes, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
    rlimit old{};
    void (*oldHandler)(int) = SIG_DFL;
};

TEST(SaveListviewProperlySpaced, AWriteRefusedMidwayIsAFailureThatAReplacedFileSurvives) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString single = folder.filePath("single.txt");
    const QString linked = folder.filePath("linked.txt"); // two names: written in place
    for (const QString& path : {single, linked})
        std::ofstream(QFile::encodeName(path).constData()) << "old text";
    ASSERT_EQ(link(QFile::encodeName(linked).constData(),
                   QFile::encodeName(folder.filePath("second name.txt")).constData()),
              0);
    std::vector<std::pair<QString, bool>> paths;
    for (int row = 0; row < 2000; ++row)
        paths.emplace_back(QStringLiteral("/data/%1").arg(row), true);
    const auto list = TableFixture::files(paths);

    WriteOutcome replaced;
    WriteOutcome inPlace;
    {
        const FileSizeLimit limit(4096);
        replaced = SaveListviewProperlySpaced(list, single);
        inPlace = SaveListviewProperlySpaced(list, linked);
    }
    EXPECT_FALSE(replaced.ok);
    EXPECT_TRUE(replaced.error.startsWith(QStringLiteral("Cannot write ") + single))
        << replaced.error.toStdString();
    EXPECT_EQ(readAll(single), QByteArray("old text"));
    EXPECT_FALSE(inPlace.ok);
    EXPECT_TRUE(inPlace.error.endsWith(QStringLiteral(" The file is incomplete.")))
        << inPlace.error.toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 3)
        << "no temporary file may be left behind";
}

TEST(SaveListviewProperlySpaced, FileNamePartIsTheTextAfterTheLastSlash) {
    EXPECT_EQ(fileNamePart("/home/user/out.txt"), QString("out.txt"));
    EXPECT_EQ(fileNamePart("out.txt"), QString("out.txt"));
    EXPECT_EQ(fileNamePart("/home/user/"), QString(""));
    EXPECT_EQ(fileNamePart("C:\\dir\\out.txt"), QString("C:\\dir\\out.txt"));
}

} // namespace
} // namespace velmora
