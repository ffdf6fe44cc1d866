#include "QtDesktop.h"

#include "FileSystem.h"
#include "Trash.h"

#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

namespace velmora {

namespace {

// A file manager that has not answered by then is taken to be absent, and the folder is
// opened instead.
constexpr int fileManagerTimeoutMilliseconds = 5000;

void openFolderUrl(const QString& folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

// A dangling link is still a name in its folder, so presence is judged without following.
bool nameIsPresent(const QString& path) {
    struct stat status {};
    return lstat(QFile::encodeName(path).constData(), &status) == 0;
}

} // namespace

bool QtClipboard::clear() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->clear();
    return true;
}

bool QtClipboard::setText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(text);
    // Reading back tells whether the system took the text.
    return clipboard->text() == text;
}

std::vector<RecycleOutcome> QtDesktopShell::recycle(const QStringList& paths,
                                                    const QStringList& keptPaths) {
    const KeptEntries kept(keptPaths, paths);
    // A path of an entry an earlier path of this request already moved names nothing
    // any more, yet nothing changed behind the user's back.
    KeptEntries moved;
    QHash<QString, QString> trashedFileOfMoved;
    std::vector<RecycleOutcome> outcomes;
    outcomes.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString& path : paths) {
        RecycleOutcome outcome;
        outcome.path = path;
        if (path.isEmpty()) {
            outcome.reason = QStringLiteral("The path is empty.");
        } else {
            const TrashMove move = moveToTrash(path, kept);
            outcome.trashedFile = move.trashedFile;
            outcome.check = move.check;
            if (move.moved) {
                moved.add(path);
                trashedFileOfMoved.insert(path, move.trashedFile);
            } else if (move.check == TrashCheck::NoLongerThere) {
                // Its row leaves with the file, and comes back with it on undo.
                if (const std::optional<QString> mover = moved.keeperOf(path)) {
                    outcome.check = TrashCheck::Passed;
                    outcome.trashedFile = trashedFileOfMoved.value(*mover);
                }
            }
            outcome.keptPath = move.keptPath;
            outcome.gone = !nameIsPresent(path);
            if (!outcome.gone)
                outcome.reason = move.moved ? QStringLiteral("The file is still there after it "
                                                             "was moved to the trash.")
                                            : move.reason;
        }
        outcomes.push_back(outcome);
    }
    return outcomes;
}

void QtDesktopShell::openFolder(const QString& folder) {
    openFolderUrl(folder);
}

bool QtDesktopShell::openFile(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtDesktopShell::showInFolder(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openFolder(folder);
        return;
    }
    QDBusMessage request = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    request << QStringList{QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)} << QString();
    // The window must not wait for a file manager that is slow to start, or never answers.
    auto* watcher =
        new QDBusPendingCallWatcher(bus.asyncCall(request, fileManagerTimeoutMilliseconds));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [folder](QDBusPendingCallWatcher* finished) {
                         // The shell need not outlive the call, so the folder is opened
                         // without it.
                         if (finished->isError())
                             openFolderUrl(folder);
                         finished->deleteLater();
                     });
}

QString trashInfoFile(const QString& trashedFile) {
    const QFileInfo trashed(trashedFile);
    const QDir trash = QFileInfo(trashed.path()).dir();
    return trash.filePath(QStringLiteral("info/") + trashed.fileName() +
                          QStringLiteral(".trashinfo"));
}

std::optional<QString> originalPathFromTrashInfo(const QString& infoFile) {
    QFile record(infoFile);
    if (!record.open(QIODevice::ReadOnly))
        return std::nullopt;
    return originalPathFromTrashInfo(record.readAll(), infoFile);
}

std::optional<QString> originalPathFromTrashInfo(const QByteArray& record,
                                                 const QString& infoFile) {
    bool inTrashInfo = false;
    for (QByteArray line : record.split('\n')) {
        line = line.trimmed();
        if (line.startsWith('[')) {
            inTrashInfo = line == "[Trash Info]";
            continue;
        }
        if (!inTrashInfo || !line.startsWith("Path="))
            continue;
        const QByteArray encoded = line.mid(5);
        if (encoded.isEmpty())
            return std::nullopt;
        // The path is stored as percent-encoded bytes of the file system's encoding (by
        // some programs as the raw bytes), and taken character for character.
        QByteArray native = decodedTrashPath(encoded);
        // A raw path that merely looks encoded ("a%20b.txt") still ends in the name the
        // file was given in the trash, which is its own.
        const QByteArray trashedName = QFile::encodeName(QFileInfo(infoFile).completeBaseName());
        const auto endsInName = [&trashedName](const QByteArray& candidate) {
            return candidate == trashedName || candidate.endsWith('/' + trashedName);
        };
        if (native != encoded && endsInName(encoded) && !endsInName(native))
            native = encoded;
        // A path that is not valid text could only be held changed, naming another file.
        const std::optional<QString> decoded = decodeFileName(native.constData());
        if (!decoded)
            return std::nullopt;
        const QString& path = *decoded;
        if (path.startsWith(QLatin1Char('/')))
            return path;
        // A trash at the top of another mount records paths relative to that top: the
        // trash is <top>/.Trash-<uid> or <top>/.Trash/<uid>, and its records lie in info/.
        QDir top(QFileInfo(QFileInfo(infoFile).absolutePath()).absolutePath());
        top.cdUp();
        if (top.dirName() == QLatin1String(".Trash"))
            top.cdUp();
        return QDir::cleanPath(top.absoluteFilePath(path));
    }
    return std::nullopt;
}

namespace {

// Renames without ever replacing what is at the target; EEXIST when a name is there.
int renameWithoutReplacing(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system that cannot promise "no replace" in one call: look first, then move.
    struct stat status {};
    if (lstat(to.constData(), &status) == 0)
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error)) + QLatin1Char('.');
}

} // namespace

RestoreOutcome restoreFromTrash(const QString& trashedFile) {
    RestoreOutcome outcome;
    const QString infoFile = trashInfoFile(trashedFile);
    const std::optional<QString> original = originalPathFromTrashInfo(infoFile);
    if (!original) {
        outcome.reason = QStringLiteral("The trash holds no record of where it came from.");
        return outcome;
    }
    outcome.originalPath = *original;
    if (!nameIsPresent(trashedFile)) {
        outcome.reason = QStringLiteral("It is no longer in the trash.");
        return outcome;
    }
    if (nameIsPresent(*original)) {
        outcome.result = RestoreOutcome::Result::NameTaken;
        outcome.reason = QStringLiteral("A file of that name is there again.");
        return outcome;
    }
    const QString folder = QFileInfo(*original).path();
    if (!QDir().mkpath(folder)) {
        outcome.reason = QStringLiteral("Its folder cannot be created again.");
        return outcome;
    }
    const int error =
        renameWithoutReplacing(QFile::encodeName(trashedFile), QFile::encodeName(*original));
    if (error == EEXIST) {
        outcome.result = RestoreOutcome::Result::NameTaken;
        outcome.reason = QStringLiteral("A file of that name is there again.");
        return outcome;
    }
    if (error != 0) {
        outcome.reason = systemReason(error);
        return outcome;
    }
    outcome.result = RestoreOutcome::Result::Restored;
    // The record describes a file that is no longer in the trash; left behind, it would
    // show the file manager an entry with nothing in it.
    QFile::remove(infoFile);
    return outcome;
}

} // namespace velmora
