#include "Trash.h"

#include "EntryIdentity.h"
#include "FileSystem.h"

#include <QDateTime>
#include <QFile>
#include <QSet>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error)) + QLatin1Char('.');
}

QByteArray parentOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

QByteArray joined(const QByteArray& folder, const QByteArray& name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// Creates the folder and any missing folders above it, each private to the user, as the
// trash's own folders must be.
bool makeFolders(const QByteArray& folder) {
    for (qsizetype slash = folder.indexOf('/', 1);; slash = folder.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? folder : folder.left(slash);
        if (mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash < 0)
            break;
    }
    struct stat status {};
    return stat(folder.constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

QByteArray homeFolder() {
    const QByteArray home = qgetenv("HOME");
    if (home.startsWith('/'))
        return home;
    const passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir ? QByteArray(entry->pw_dir) : QByteArray("/");
}

QByteArray homeTrash() {
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    if (dataHome.startsWith('/'))
        return joined(dataHome, "Trash");
    return joined(homeFolder(), ".local/share/Trash");
}

// The file system of a folder that may not exist yet: that of its nearest existing
// ancestor, where it will be created.
std::optional<dev_t> deviceOfFolderToBe(QByteArray folder) {
    struct stat status {};
    while (stat(folder.constData(), &status) != 0) {
        if (folder == "/")
            return std::nullopt;
        folder = parentOf(folder);
    }
    return status.st_dev;
}

// The topmost folder above `folder` (a real path) on the same file system.
QByteArray mountTop(QByteArray folder, dev_t device) {
    while (folder != "/") {
        const QByteArray parent = parentOf(folder);
        struct stat status {};
        if (stat(parent.constData(), &status) != 0 || status.st_dev != device)
            break;
        folder = parent;
    }
    return folder;
}

bool isOwnRealFolder(const QByteArray& path) {
    struct stat status {};
    return lstat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == getuid();
}

// The user's trash at the top of another file system: inside the shared $topdir/.Trash
// only when it is a real folder with the sticky bit (a link or a folder anyone could
// replace is not trusted), else $topdir/.Trash-$uid.
std::optional<QByteArray> topTrash(const QByteArray& top) {
    const QByteArray user = QByteArray::number(getuid());
    const QByteArray shared = joined(top, ".Trash");
    struct stat status {};
    if (lstat(shared.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
        (status.st_mode & S_ISVTX) != 0) {
        const QByteArray mine = joined(shared, user);
        if ((mkdir(mine.constData(), 0700) == 0 || errno == EEXIST) && isOwnRealFolder(mine))
            return mine;
    }
    const QByteArray own = joined(top, ".Trash-" + user);
    if ((mkdir(own.constData(), 0700) == 0 || errno == EEXIST) && isOwnRealFolder(own))
        return own;
    return std::nullopt;
}

// At most `size` bytes of the name's start, never splitting a character.
QByteArray characterPrefix(const QByteArray& name, qsizetype size) {
    if (size >= name.size())
        return name;
    while (size > 0 && (static_cast<unsigned char>(name[size]) & 0xC0) == 0x80)
        --size;
    return name.left(size);
}

// "name", then "name.2", "name.3" ... with the number before the extension. A name that
// would leave its record "<name>.trashinfo" longer than a file system allows a name to
// be is shortened, keeping its extension when some of the name fits beside it.
QByteArray candidateName(const QByteArray& name, int number) {
    constexpr qsizetype longest = NAME_MAX - qsizetype(sizeof(".trashinfo") - 1);
    const QByteArray suffix = number == 1 ? QByteArray() : '.' + QByteArray::number(number);
    const qsizetype dot = name.lastIndexOf('.');
    const QByteArray stem = dot > 0 ? name.left(dot) : name;
    const QByteArray extension = dot > 0 ? name.mid(dot) : QByteArray();
    if (stem.size() + suffix.size() + extension.size() <= longest)
        return stem + suffix + extension;
    const QByteArray shortStem = characterPrefix(stem, longest - suffix.size() - extension.size());
    if (!shortStem.isEmpty() && extension.size() + suffix.size() < longest)
        return shortStem + suffix + extension;
    return characterPrefix(name, longest - suffix.size()) + suffix;
}

bool writeAll(int descriptor, const QByteArray& bytes) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t step = ::write(descriptor, bytes.constData() + written,
                                     static_cast<size_t>(bytes.size() - written));
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0)
            return false;
        written += step;
    }
    return true;
}

bool isHexDigit(char character) {
    return (character >= '0' && character <= '9') || (character >= 'a' && character <= 'f') ||
           (character >= 'A' && character <= 'F');
}

TrashMove notMoved(const QString& reason) {
    TrashMove move;
    move.reason = reason;
    return move;
}

TrashMove failedCheck(TrashCheck check, const QString& keptPath = {}) {
    TrashMove move;
    move.check = check;
    move.keptPath = keptPath;
    return move;
}

QByteArray withoutTrailingSlashes(QByteArray path) {
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

QByteArray lastNameOf(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

// The folder holding the path's last name: "." for a bare name.
QByteArray containingFolder(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : parentOf(path);
}

// The path as it is at this moment; nothing when it may be moved. The status of its
// folder is filled in on the way.
std::optional<TrashMove> checkBeforeMove(const QByteArray& native, const KeptEntries& kept,
                                         struct stat& folderStatus) {
    struct stat file {};
    if (lstat(native.constData(), &file) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return failedCheck(TrashCheck::NoLongerThere);
        return notMoved(systemReason(errno));
    }
    if (!S_ISREG(file.st_mode) && !S_ISLNK(file.st_mode))
        return failedCheck(TrashCheck::NoLongerAFile);
    if (stat(containingFolder(native).constData(), &folderStatus) != 0)
        return notMoved(QStringLiteral("Its folder cannot be examined."));
    if (const std::optional<QString> keeper = kept.keeperOf(folderStatus, lastNameOf(native)))
        return failedCheck(TrashCheck::SameEntryKept, *keeper);
    return std::nullopt;
}

} // namespace

KeptEntries::KeptEntries(const QStringList& keptPaths, const QStringList& pathsToMove) {
    QSet<QByteArray> namesToMove;
    for (const QString& path : pathsToMove)
        namesToMove.insert(lastNameOf(withoutTrailingSlashes(QFile::encodeName(path))));
    for (const QString& path : keptPaths) {
        const QByteArray native = withoutTrailingSlashes(QFile::encodeName(path));
        const QByteArray name = lastNameOf(native);
        if (namesToMove.contains(name))
            keptByName_[name].append(native);
    }
}

void KeptEntries::add(const QString& path) {
    const QByteArray native = withoutTrailingSlashes(QFile::encodeName(path));
    keptByName_[lastNameOf(native)].append(native);
}

std::optional<QString> KeptEntries::keeperOf(const QString& path) const {
    const QByteArray native = withoutTrailingSlashes(QFile::encodeName(path));
    struct stat folder {};
    if (stat(containingFolder(native).constData(), &folder) != 0)
        return std::nullopt;
    return keeperOf(folder, lastNameOf(native));
}

std::optional<QString> KeptEntries::keeperOf(const struct stat& folder,
                                             const QByteArray& name) const {
    const auto sameName = keptByName_.constFind(name);
    if (sameName == keptByName_.cend())
        return std::nullopt;
    for (const QByteArray& kept : *sameName)
        if (folderIdentityAt(containingFolder(kept).constData()) == FolderIdentity::of(folder))
            return QFile::decodeName(kept);
    return std::nullopt;
}

QByteArray encodedTrashPath(const QByteArray& nativePath) {
    return nativePath.toPercentEncoding("/");
}

QByteArray decodedTrashPath(const QByteArray& value) {
    for (qsizetype at = 0; at < value.size(); ++at) {
        const auto byte = static_cast<unsigned char>(value[at]);
        const bool rawByte = byte <= 0x20 || byte >= 0x7F;
        const bool rawPercent =
            byte == '%' &&
            (at + 2 >= value.size() || !isHexDigit(value[at + 1]) || !isHexDigit(value[at + 2]));
        if (rawByte || rawPercent)
            return value;
    }
    return QByteArray::fromPercentEncoding(value);
}

TrashMove moveToTrash(const QString& path, const KeptEntries& kept) {
    QByteArray native = withoutTrailingSlashes(QFile::encodeName(path));
    if (native.isEmpty())
        return notMoved(systemReason(ENOENT));
    if (!native.startsWith('/')) {
        const std::unique_ptr<char, decltype(&std::free)> here(getcwd(nullptr, 0), &std::free);
        if (!here)
            return notMoved(systemReason(errno));
        native = joined(QByteArray(here.get()), native);
    }
    const QByteArray name = lastNameOf(native);
    const QByteArray folder = parentOf(native);
    if (name.isEmpty())
        return failedCheck(TrashCheck::NoLongerAFile);
    struct stat folderStatus {};
    if (std::optional<TrashMove> refused = checkBeforeMove(native, kept, folderStatus))
        return *refused;

    // A file on the home trash's file system goes there, named by its absolute path;
    // anything else to the trash of its own file system, named relative to its top, so
    // the record still holds when the disk is mounted elsewhere.
    QByteArray trash = homeTrash();
    QByteArray recordedPath = native;
    if (deviceOfFolderToBe(trash) != folderStatus.st_dev) {
        const std::unique_ptr<char, decltype(&std::free)> real(
            realpath(folder.constData(), nullptr), &std::free);
        if (!real)
            return notMoved(systemReason(errno));
        const QByteArray realFolder(real.get());
        const QByteArray top = mountTop(realFolder, folderStatus.st_dev);
        const std::optional<QByteArray> topFolderTrash = topTrash(top);
        if (!topFolderTrash)
            return notMoved(QStringLiteral("No trash folder can be made on its disk (") +
                            QFile::decodeName(top) + QStringLiteral(")."));
        trash = *topFolderTrash;
        const QByteArray realPath = joined(realFolder, name);
        recordedPath = top == "/" ? realPath.mid(1) : realPath.mid(top.size() + 1);
    }
    const QByteArray files = joined(trash, "files");
    const QByteArray info = joined(trash, "info");
    if (!makeFolders(files) || !makeFolders(info)) {
        const int error = errno;
        // A trash folder that is there already was not to be created, only written to.
        const bool exists = access(trash.constData(), F_OK) == 0;
        return notMoved(QStringLiteral("The trash folder ") + QFile::decodeName(trash) +
                        (exists ? QStringLiteral(" cannot be written: ")
                                : QStringLiteral(" cannot be created: ")) +
                        systemReason(error));
    }

    // The record is claimed first, exclusively, so two programs trashing files of the
    // same name at once never share one.
    QByteArray trashedName;
    QByteArray record;
    int descriptor = -1;
    for (int number = 1; descriptor < 0; ++number) {
        if (number > 10000)
            return notMoved(QStringLiteral("The trash holds too many files of that name."));
        trashedName = candidateName(name, number);
        record = joined(info, trashedName + ".trashinfo");
        descriptor = open(record.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        if (descriptor < 0) {
            if (errno == EEXIST)
                continue;
            return notMoved(systemReason(errno));
        }
        struct stat taken {};
        if (lstat(joined(files, trashedName).constData(), &taken) == 0) {
            close(descriptor);
            unlink(record.constData());
            descriptor = -1;
        }
    }
    const QByteArray contents =
        "[Trash Info]\nPath=" + encodedTrashPath(recordedPath) + "\nDeletionDate=" +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")).toLatin1() +
        '\n';
    const bool recorded = writeAll(descriptor, contents);
    const int writeError = errno;
    if (close(descriptor) != 0 || !recorded) {
        unlink(record.constData());
        return notMoved(QStringLiteral("The trash record cannot be written: ") +
                        systemReason(recorded ? errno : writeError));
    }
    // The list may be old and the trash's own work took a moment: what the path names is
    // looked at once more, right before it moves.
    if (std::optional<TrashMove> refused = checkBeforeMove(native, kept, folderStatus)) {
        unlink(record.constData());
        return *refused;
    }
    const QByteArray trashed = joined(files, trashedName);
    if (::rename(native.constData(), trashed.constData()) != 0) {
        const int error = errno;
        unlink(record.constData());
        return notMoved(systemReason(error));
    }
    TrashMove move;
    move.moved = true;
    move.trashedFile = decodeFileName(trashed.constData()).value_or(QFile::decodeName(trashed));
    return move;
}

} // namespace velmora
