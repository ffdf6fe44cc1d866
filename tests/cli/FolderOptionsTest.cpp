#include "FindArguments.h"
#include "FindCommand.h"
#include "FolderWalk.h"
#include "QStringPrinter.h"
#include "TemporaryTree.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

struct Outcome {
    int status = -1;
    QByteArray output;
    QByteArray errors;
};

Outcome runHere(const QStringList& arguments) {
    QBuffer in;
    in.open(QIODevice::ReadOnly);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QBuffer errors;
    errors.open(QIODevice::WriteOnly);
    const int status = runFind(arguments, {in, out, errors, false});
    return {status, out.data(), errors.data()};
}

// Permission bits do not bind the superuser, so as root the program runs as "nobody".
Outcome runAsUnprivilegedUser(const QStringList& arguments) {
    QProcess process;
    if (geteuid() == 0)
        process.start(
            QStringLiteral("setpriv"),
            QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", VELMORA_FIND_PROGRAM} +
                arguments);
    else
        process.start(QStringLiteral(VELMORA_FIND_PROGRAM), arguments);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

using testing::TemporaryTree;

QByteArray lines(const QStringList& paths) {
    QByteArray text;
    for (const QString& path : paths)
        text += path.toUtf8() + '\n';
    return text;
}

TEST(FolderArguments, FoldersAddUpAndTheExtensionDefaultsToEveryFile) {
    FindArgumentsParsing parsing =
        parseFindArguments({"--folder", "/a", "--list-only", "--folder=/b c"});
    ASSERT_TRUE(parsing.ok()) << parsing.error.toStdString();
    EXPECT_EQ(parsing.arguments.folders, (QStringList{"/a", "/b c"}));
    EXPECT_EQ(parsing.arguments.extension, QStringLiteral("*"));
    EXPECT_TRUE(parsing.arguments.listOnly);

    parsing = parseFindArguments({"--ext", "txt", "--folder", "/a", "--ext=doc"});
    ASSERT_TRUE(parsing.ok());
    EXPECT_EQ(parsing.arguments.extension, QStringLiteral("doc"));
    EXPECT_FALSE(parsing.arguments.listOnly);

    // The "*." or dot many write before an extension is not part of it.
    const std::pair<const char*, const char*> written[] = {
        {".txt", "txt"}, {"*.txt", "txt"}, {"*.*", "*"}, {"..txt", ".txt"}, {"*txt", "*txt"}};
    for (const auto& [given, extension] : written)
        EXPECT_EQ(parseFindArguments({"--folder", "/a", "--ext", given}).arguments.extension,
                  QString::fromUtf8(extension))
            << given;
}

TEST(FolderArguments, CombinationsThatCannotWorkAreNamed) {
    const struct {
        QStringList arguments;
        QString error;
    } cases[] = {
        {{"--ext", "txt"}, "--ext only applies to --folder"},
        {{"--folder", "/a", "list.txt"}, "--folder and a list file cannot be used together"},
        {{"--folder", "/a", "--path-style", "windows"},
         "--folder walks this system's folders, so --path-style must be native"},
        {{"--folder", "/a", "--ext", ""}, "--ext needs an extension, or * for every file"},
        {{"--folder", "/a", "--ext", "."}, "--ext needs an extension, or * for every file"},
        {{"--list-only=yes"}, "--list-only takes no value"},
        {{"--folder"}, "missing value after --folder"},
    };
    for (const auto& [arguments, error] : cases)
        EXPECT_EQ(parseFindArguments(arguments).error, error) << arguments.join(' ').toStdString();
}

TEST(FolderArguments, HelpDescribesTheFolderOptions) {
    const QString help = findHelpText();
    for (const char* part : {"--folder DIR", "--ext EXT", "--list-only", "level by level"})
        EXPECT_TRUE(help.contains(QLatin1String(part))) << part;
}

TEST(FolderCommand, TheListIsWhatTheWindowWouldLoadFolderAfterFolder) {
    TemporaryTree tree;
    tree.file(QStringLiteral("one/a.txt"));
    tree.file(QStringLiteral("one/sub/b.TXT"));
    tree.file(QStringLiteral("one/c.doc"));
    tree.file(QStringLiteral("one/~$c.txt"));
    tree.file(QStringLiteral("two/d.txt"));

    Outcome outcome = runHere({"--folder", tree.path("two"), "--folder", tree.path("one/"), "--ext",
                               "txt", "--list-only"});

    EXPECT_EQ(outcome.status, kListWritten);
    EXPECT_TRUE(outcome.errors.isEmpty());
    EXPECT_EQ(outcome.output,
              lines({tree.path("two/d.txt"), tree.path("one/a.txt"), tree.path("one/sub/b.TXT")}));
    EXPECT_EQ(outcome.output,
              lines(filesInFolderTree(tree.path("two"), "*.txt", PathStyle::Posix) +
                    filesInFolderTree(tree.path("one"), "*.txt", PathStyle::Posix)));

    // The same folder twice lists its files twice, as loading it twice would.
    outcome = runHere({"--folder", tree.path("two"), "--folder", tree.path("two"), "--list-only"});
    EXPECT_EQ(outcome.output, lines({tree.path("two/d.txt"), tree.path("two/d.txt")}));
}

TEST(FolderCommand, ARelativeFolderIsListedWithItsFullPath) {
    TemporaryTree tree;
    tree.file(QStringLiteral("inner/a"));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(tree.root()));

    const Outcome outcome = runHere({"--folder", "./inner/../inner", "--list-only"});

    QDir::setCurrent(before);
    EXPECT_EQ(outcome.output, lines({tree.path("inner/a")}));
}

TEST(FolderCommand, DotDotIsTakenWhereTheSystemTakesIt) {
    TemporaryTree tree;
    tree.file(QStringLiteral("far/away/target/in.txt"));
    tree.file(QStringLiteral("far/away/beside.txt"));
    tree.file(QStringLiteral("near/here.txt"));
    tree.link(QStringLiteral("near/jump"), tree.path("far/away/target"));

    // Through the link, "jump/.." is the folder above its target, not "near".
    const Outcome outcome =
        runHere({"--folder", tree.path("near/jump/.."), "--ext", "txt", "--list-only"});

    EXPECT_EQ(outcome.status, kListWritten) << outcome.errors.toStdString();
    EXPECT_EQ(outcome.output,
              lines({tree.path("far/away/beside.txt"), tree.path("far/away/target/in.txt")}));
}

TEST(FolderCommand, TheExtensionIsMatchedAfterADot) {
    TemporaryTree tree;
    for (const char* name : {"a.txt", "b.rtxt", "readmetxt", "c.TXT", "d.txt.old"})
        tree.file(QString::fromLatin1(name));

    const Outcome outcome = runHere({"--folder", tree.root(), "--ext", "txt", "--list-only"});

    EXPECT_EQ(outcome.output, lines({tree.path("a.txt"), tree.path("c.TXT")}));
}

TEST(FolderCommand, AFolderThatIsNotThereIsAnErrorAndAnEmptyOneIsNot) {
    TemporaryTree tree;
    const QString file = tree.file(QStringLiteral("plain"));
    for (const QString& wrong : {tree.path("missing"), file, QString()}) {
        const Outcome outcome = runHere({"--folder", wrong, "--list-only"});
        EXPECT_EQ(outcome.status, kUsageOrInputError);
        EXPECT_EQ(outcome.errors, "velmora-find: '" + wrong.toUtf8() +
                                      (wrong == file || wrong.isEmpty() ? "' is not a folder\n"
                                                                        : "' does not exist\n"));
        EXPECT_TRUE(outcome.output.isEmpty());
    }

    QDir().mkpath(tree.path("empty"));
    const Outcome outcome = runHere({"--folder", tree.path("empty"), "--list-only"});
    EXPECT_EQ(outcome.status, kListWritten);
    EXPECT_TRUE(outcome.output.isEmpty());
}

TEST(FolderCommand, WithoutListOnlyTheWalkedFilesAreCompared) {
    TemporaryTree tree;
    tree.file(QStringLiteral("song.mp3"));
    tree.file(QStringLiteral("backup/song.mp3"));
    tree.file(QStringLiteral("backup/zzqq"));

    const Outcome outcome = runHere({"--folder", tree.root(), "--ext", "mp3"});

    EXPECT_EQ(outcome.status, kDuplicatesFound);
    EXPECT_EQ(outcome.output, "0\t" + tree.path("song.mp3").toUtf8() + "\n1\t" +
                                  tree.path("backup/song.mp3").toUtf8() + "\n");
}

// A folder that may not be read, and one behind a folder that may not be searched (not
// to be called a file).
TEST(FolderProgram, AFolderTheUserCannotOpenIsAnError) {
    TemporaryTree tree;
    tree.setMode(QString(), 0755);
    tree.file(QStringLiteral("closed/below/y.txt"));
    tree.setMode(QStringLiteral("closed"), 0700);
    const struct {
        const char* folder;
        const char* what;
    } cases[] = {{"closed", "cannot read"}, {"closed/below", "cannot reach"}};
    for (const auto& test : cases) {
        const QString folder = tree.path(QString::fromLatin1(test.folder));

        const Outcome outcome = runAsUnprivilegedUser({"--folder", folder});

        EXPECT_EQ(outcome.status, kUsageOrInputError) << test.folder;
        EXPECT_EQ(outcome.errors, QByteArray("velmora-find: ") + test.what + " the folder '" +
                                      folder.toUtf8() + "': Permission denied\n");
    }
}

TEST(FolderProgram, WhatTheWalkLeavesOutIsCountedAtTheEnd) {
    TemporaryTree tree;
    tree.setMode(QString(), 0755);
    tree.file(QStringLiteral("a.txt"));
    tree.file(QStringLiteral("closed/x.txt"));
    tree.setMode(QStringLiteral("closed"), 0700);
    const QByteArray root = QFile::encodeName(tree.root());
    // Names Qt cannot hold, made and removed by the shell.
    ASSERT_EQ(system(("touch '" + root + "/caf\xE9.txt' '" + root + "/\xFF\n.txt' && mkdir '" +
                      root + "/d\xE9' && touch '" + root + "/d\xE9/in.txt'")
                         .constData()),
              0);
    ASSERT_EQ(mkfifo(root + "/pipe", 0644), 0);

    Outcome outcome = runAsUnprivilegedUser({"--folder", tree.root(), "--list-only"});
    EXPECT_EQ(outcome.output, lines({tree.path("a.txt")}));
    EXPECT_EQ(outcome.errors, "velmora-find: 2 files and 1 folder left out: their names are not "
                              "valid UTF-8; 1 folder left out: it cannot be read; 1 file left "
                              "out: it is a FIFO, a socket or a device\n");

    outcome = runAsUnprivilegedUser({"--folder", tree.root(), "--list-only", "--verbose"});
    EXPECT_TRUE(
        outcome.errors.contains("left out (name not valid UTF-8): " + root + "/\\xFF\\x0A.txt\n"))
        << outcome.errors.toStdString();
    EXPECT_TRUE(outcome.errors.contains("left out (folder cannot be read): " + root + "/closed\n"));
    EXPECT_TRUE(outcome.errors.contains("left out (not a regular file): " + root + "/pipe\n"));
    ASSERT_EQ(
        system(("rm -r '" + root + "/caf\xE9.txt' '" + root + "/\xFF\n.txt' '" + root + "/d\xE9'")
                   .constData()),
        0);
}

TEST(FolderProgram, FoldersTheUserMayNotReadAreLeftOutAndCounted) {
    TemporaryTree tree;
    tree.setMode(QString(), 0755); // the unprivileged user must reach the tree itself
    tree.file(QStringLiteral("a.txt"));
    tree.file(QStringLiteral("closed/x.txt"));
    tree.file(QStringLiteral("closed/below/y.txt"));
    tree.file(QStringLiteral("listable/z.txt"));
    tree.file(QStringLiteral("listable/below/w.txt"));
    tree.file(QStringLiteral("open/b.txt"));
    tree.file(QStringLiteral("open/closed too/v.txt"));
    tree.file(QStringLiteral("open/deeper/c.txt"));
    tree.setMode(QStringLiteral("closed"), 0700);
    tree.setMode(QStringLiteral("open/closed too"), 0);
    tree.setMode(QStringLiteral("listable"), 0744); // others may list it, not enter it

    const Outcome outcome = runAsUnprivilegedUser({"--folder", tree.root(), "--list-only"});

    tree.setMode(QStringLiteral("open/closed too"), 0755);
    EXPECT_EQ(outcome.status, kListWritten) << outcome.errors.toStdString();
    EXPECT_EQ(outcome.output,
              lines({tree.path("a.txt"), tree.path("open/b.txt"), tree.path("open/deeper/c.txt")}));
    EXPECT_EQ(outcome.errors, "velmora-find: 4 folders left out: they cannot be read\n");
}

} // namespace
} // namespace velmora
