#include "ActionsFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

// Permission bits do not bind the superuser, and the test machines run as root. So the
// cases below run in a second copy of this program started as the unprivileged user
// "nobody" (uid 65534); only that copy registers them. Run by an ordinary user, the copy
// is started as that user, and the folders are closed to it by their modes alone.

namespace velmora {
namespace {

using testing::readBytes;
using testing::writeBytes;

constexpr char kTreeVariable[] = "VELMORA_UNPRIVILEGED_TREE";
constexpr uid_t kNobody = 65534;
constexpr gid_t kNobodyGroup = 65534;

bool runningAsChild() {
    return qEnvironmentVariableIsSet(kTreeVariable);
}

QString tree() {
    return qEnvironmentVariable(kTreeVariable);
}

// The tree both copies share:
//   free/      writable by the child: one.txt, two.txt, link.txt (to locked/three.txt),
//              modes.txt (the child's, with set-user, set-group and sticky bits),
//              others.txt, grouped.txt (writable by anyone; as root, the first is root's,
//              the second the child's but of root's group)
//   locked/    not writable by the child: three.txt (its contents writable by anyone)
//   home/      the child's home, with its own trash, settings and caches
QString treePath(const QString& relative) {
    return tree() + QLatin1Char('/') + relative;
}

// The child's side ------------------------------------------------------------------

class ChildActions : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(geteuid(), 0u) << "the child must not run as root";
        form = std::make_unique<Form2>(
            fakes.services(), [] {}, [] {});
    }

    QStringList rowPaths() const {
        QStringList paths;
        for (const ResultRow& row : form->resultsList().rows())
            paths << row.path;
        return paths;
    }

    testing::TestServices fakes;
    std::unique_ptr<Form2> form;
};

class TrashInLockedFolder : public ChildActions {
public:
    void TestBody() override {
        const QString one = treePath(QStringLiteral("free/one.txt"));
        const QString two = treePath(QStringLiteral("free/two.txt"));
        const QString three = treePath(QStringLiteral("locked/three.txt"));
        // The locked file is the ticked row lowest on screen, whose fate once decided all.
        form->resultsList().setRows({{one, true}, {two, false}, {three, true}});
        form->PushButton2().click();

        EXPECT_FALSE(QFile::exists(one));
        EXPECT_EQ(readBytes(three), QByteArray("three"));
        EXPECT_EQ(rowPaths(), (QStringList{two, three}));
        EXPECT_FALSE(form->resultsList().Checked(1));
        EXPECT_TRUE(form->resultsList().Checked(2));
        const QStringList texts = fakes.messages.texts();
        ASSERT_EQ(texts.size(), 2); // the question, then the one report
        EXPECT_TRUE(texts[1].startsWith(
            QStringLiteral(
                "1 file(s) could not be moved to the trash and are still in place:\n\n") +
            three + QStringLiteral(": ")))
            << texts[1].toStdString();
        EXPECT_FALSE(texts[1].contains(one));

        const QString trash = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Trash");
        ASSERT_EQ(form->trashUndo().pending().size(), 1u);
        const QString trashed = form->trashUndo().pending()[0].trashedFile;
        EXPECT_TRUE(trashed.startsWith(trash + QStringLiteral("/files/")));
        EXPECT_EQ(readBytes(trashed), QByteArray("one"));

        form->UndoLastTrash();
        EXPECT_EQ(readBytes(one), QByteArray("one"));
        EXPECT_EQ(rowPaths(), (QStringList{one, two, three}));
        EXPECT_EQ(fakes.messages.shown.size(), 2u);
    }
};

class SaveIntoLockedFolder : public ChildActions {
public:
    void TestBody() override {
        form->resultsList().setRows({{QStringLiteral("/a"), true}});
        const QString fresh = treePath(QStringLiteral("locked/new.txt"));
        fakes.fileDialogs.saveAnswers.push_back(fresh);
        form->PushButton6().click();

        ASSERT_EQ(fakes.messages.shown.size(), 1u);
        const QString message = fakes.messages.shown[0].text;
        EXPECT_TRUE(message.contains(fresh)) << message.toStdString();
        EXPECT_NE(message, QStringLiteral("Done."));
        EXPECT_FALSE(QFile::exists(fresh));

        // The file itself may be written by anyone, its folder not: no new file can take
        // its place, so it is written in place.
        const QString existing = treePath(QStringLiteral("locked/three.txt"));
        fakes.fileDialogs.saveAnswers.push_back(existing);
        fakes.messages.answers.push_back(MessageBoxes::Answer::Yes);
        form->PushButton6().click();
        ASSERT_EQ(fakes.messages.shown.size(), 3u);
        EXPECT_TRUE(fakes.messages.shown[1].text.startsWith(
            QStringLiteral("Are you sure you wish to overwrite ")));
        EXPECT_EQ(fakes.messages.shown[2].text, QStringLiteral("Done."));
        EXPECT_EQ(readBytes(existing), QByteArray("File(s)\t\r\n/a     \t\r\n"));

        // Through a link from a folder it may write, the same holds: what counts is the
        // folder of the file itself.
        const QString link = treePath(QStringLiteral("free/link.txt"));
        form->resultsList().setRows({{QStringLiteral("/b"), true}});
        fakes.fileDialogs.saveAnswers.push_back(link);
        form->PushButton6().click();
        ASSERT_EQ(fakes.messages.shown.size(), 5u);
        EXPECT_EQ(fakes.messages.shown[4].text, QStringLiteral("Done."));
        EXPECT_EQ(readBytes(existing), QByteArray("File(s)\t\r\n/b     \t\r\n"));
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_FALSE(form->pointer().isBusy());
    }
};

// Saves over one file of free/, answering Yes, and expects "Done.".
class SaveOverOneFile : public ChildActions {
public:
    explicit SaveOverOneFile(QString name) : name_(std::move(name)) {}
    void TestBody() override {
        form->resultsList().setRows({{QStringLiteral("/a"), true}});
        fakes.fileDialogs.saveAnswers.push_back(treePath(QStringLiteral("free/") + name_));
        form->PushButton6().click();
        ASSERT_EQ(fakes.messages.shown.size(), 2u);
        EXPECT_EQ(fakes.messages.shown[1].text, QStringLiteral("Done."));
    }

private:
    QString name_;
};

// Registered only in the child, before the test program's main runs.
const bool childTestsRegistered = [] {
    if (!runningAsChild())
        return false;
    ::testing::RegisterTest("UnprivilegedChild", "TrashLeavesTheFileOfALockedFolder", nullptr,
                            nullptr, __FILE__, __LINE__,
                            []() -> ChildActions* { return new TrashInLockedFolder; });
    ::testing::RegisterTest("UnprivilegedChild", "SaveIntoALockedFolder", nullptr, nullptr,
                            __FILE__, __LINE__,
                            []() -> ChildActions* { return new SaveIntoLockedFolder; });
    for (const char* name : {"modes.txt", "others.txt", "grouped.txt"})
        ::testing::RegisterTest("UnprivilegedChild", (std::string("SaveOver_") + name).c_str(),
                                nullptr, nullptr, __FILE__, __LINE__, [name]() -> ChildActions* {
                                    return new SaveOverOneFile(QString::fromLatin1(name));
                                });
    return true;
}();

// The parent's side -----------------------------------------------------------------

class UnprivilegedUser : public ::testing::Test {
protected:
    void SetUp() override {
        if (runningAsChild())
            GTEST_SKIP() << "the child runs only its own cases";
        ASSERT_TRUE(base.isValid());
        root = base.path();
        ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("free")));
        ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("locked")));
        for (const char* folder : {"home/data", "home/config", "home/cache"})
            ASSERT_TRUE(QDir(root).mkpath(QString::fromLatin1(folder)));
        ASSERT_TRUE(writeBytes(root + QStringLiteral("/free/one.txt"), "one"));
        ASSERT_TRUE(writeBytes(root + QStringLiteral("/free/two.txt"), "two"));
        ASSERT_TRUE(writeBytes(root + QStringLiteral("/locked/three.txt"), "three"));
        for (const char* name : {"modes.txt", "others.txt", "grouped.txt"})
            ASSERT_TRUE(writeBytes(root + QStringLiteral("/free/") + name, name));
        ASSERT_TRUE(QFile::link(root + QStringLiteral("/locked/three.txt"),
                                root + QStringLiteral("/free/link.txt")));

        // Everything belongs to the child except the locked folder, which nobody but its
        // owner may write; as root, the child is someone else.
        const bool asRoot = geteuid() == 0;
        for (const char* entry :
             {"", "/free", "/free/one.txt", "/free/two.txt", "/free/modes.txt", "/locked/three.txt",
              "/home", "/home/data", "/home/config", "/home/cache"}) {
            const QByteArray path = QFile::encodeName(root) + entry;
            if (asRoot) {
                ASSERT_EQ(::chown(path.constData(), kNobody, kNobodyGroup), 0) << path.data();
            }
        }
        if (asRoot) {
            ASSERT_EQ(::chown(QFile::encodeName(root + "/free/grouped.txt"), kNobody, 0), 0);
        }
        ASSERT_EQ(::chmod(QFile::encodeName(root).constData(), 0755), 0);
        for (const auto& [name, mode] : {std::pair{"/free/modes.txt", 07754},
                                         {"/free/others.txt", 0666},
                                         {"/free/grouped.txt", 0666}})
            ASSERT_EQ(::chmod(QFile::encodeName(root + name), mode), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(root + QStringLiteral("/locked/three.txt")), 0666), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(root + QStringLiteral("/locked")), 0555), 0);
    }

    void TearDown() override {
        if (!root.isEmpty())
            ::chmod(QFile::encodeName(root + QStringLiteral("/locked")).constData(), 0755);
    }

    // Runs one of the child's cases; its output comes back with a failure.
    void runChild(const QString& testName) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kTreeVariable), root);
        environment.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/home/data"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           root + QStringLiteral("/home/config"));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), root + QStringLiteral("/home/cache"));
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));

        QStringList arguments{QCoreApplication::applicationFilePath(),
                              QStringLiteral("--gtest_filter=UnprivilegedChild.") + testName};
        QString program = arguments.takeFirst();
        if (geteuid() == 0) {
            // Must really run where the tests run as root: no setpriv is a failure.
            const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
            ASSERT_FALSE(setpriv.isEmpty()) << "setpriv (util-linux) is needed to drop root";
            arguments.prepend(program);
            arguments = QStringList{QStringLiteral("--reuid=%1").arg(kNobody),
                                    QStringLiteral("--regid=%1").arg(kNobodyGroup),
                                    QStringLiteral("--clear-groups")} +
                        arguments;
            program = setpriv;
        }
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(program, arguments);
        ASSERT_TRUE(child.waitForStarted()) << child.errorString().toStdString();
        ASSERT_TRUE(child.waitForFinished(120000));
        const QByteArray output = child.readAll();
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0) << output.constData();
        // A filter that matched nothing would pass without testing anything.
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.constData();
    }

    QTemporaryDir base{QDir::tempPath() + QStringLiteral("/velmora-unprivileged-XXXXXX")};
    QString root;
};

TEST_F(UnprivilegedUser, AFileInALockedFolderStaysWithItsRowWhileTheOthersGo) {
    ASSERT_NO_FATAL_FAILURE(runChild(QStringLiteral("TrashLeavesTheFileOfALockedFolder")));
    // Seen from outside: the locked file is untouched, the other one came back by undo.
    EXPECT_EQ(readBytes(root + QStringLiteral("/locked/three.txt")), QByteArray("three"));
    EXPECT_EQ(readBytes(root + QStringLiteral("/free/one.txt")), QByteArray("one"));
}

TEST_F(UnprivilegedUser, ASaveIntoALockedFolderMakesNoFileButRewritesAWritableOne) {
    const QByteArray three = QFile::encodeName(root + QStringLiteral("/locked/three.txt"));
    struct stat before {};
    ASSERT_EQ(::stat(three.constData(), &before), 0);
    ASSERT_NO_FATAL_FAILURE(runChild(QStringLiteral("SaveIntoALockedFolder")));
    struct stat after {};
    ASSERT_EQ(::stat(three.constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "written in place";
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("/locked/new.txt")));
}

// Saved over by the child. modes.txt is replaced whole, and a write by anyone but the
// superuser clears its set-user and set-group bits. The others are written in place, or
// the owner would lose the file and the group its access.
TEST_F(UnprivilegedUser, AReplacedFileKeepsItsModeAndAnotherOwnersFileKeepsItsOwners) {
    for (const QString& name : {QStringLiteral("modes.txt"), QStringLiteral("others.txt"),
                                QStringLiteral("grouped.txt")}) {
        const bool replaced = name == QStringLiteral("modes.txt");
        if (!replaced && geteuid() != 0)
            continue; // the child is this same user: nothing here is someone else's
        SCOPED_TRACE(name.toStdString());
        const QByteArray native = QFile::encodeName(root + QStringLiteral("/free/") + name);
        struct stat before {};
        ASSERT_EQ(::stat(native.constData(), &before), 0);
        ASSERT_NO_FATAL_FAILURE(runChild(QStringLiteral("SaveOver_") + name));
        struct stat after {};
        ASSERT_EQ(::stat(native.constData(), &after), 0);
        EXPECT_EQ(after.st_ino != before.st_ino, replaced);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        EXPECT_EQ(readBytes(QFile::decodeName(native)), QByteArray("File(s)\t\r\n/a     \t\r\n"));
    }
}

} // namespace
} // namespace velmora
