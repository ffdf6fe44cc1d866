#include "FolderInput.h"

#include "BufferedTextWriter.h"
#include "NameBytes.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Why this user cannot list `folder` and open what it holds; empty when they can.
QString unreadableReason(const QString& folder) {
    const QByteArray native = QFile::encodeName(folder);
    DIR* stream = opendir(native.constData());
    if (!stream)
        return systemReason(errno);
    closedir(stream);
    if (access(native.constData(), X_OK) != 0)
        return systemReason(errno);
    return {};
}

// The working folder, or nothing when it has been removed or lies outside this process's
// view of the file system. A relative name is then relative to nothing: taking it from
// "/" instead would widen "." to the whole system.
std::optional<QString> workingFolder(int* error) {
    std::unique_ptr<char, decltype(&std::free)> path(getcwd(nullptr, 0), &std::free);
    if (!path || path.get()[0] != '/') {
        *error = path ? ENOENT : errno;
        return std::nullopt;
    }
    return QFile::decodeName(path.get());
}

} // namespace

QString resolvedFolder(const QString& folder, QString* error) {
    QString absolute = folder;
    if (!QDir::isAbsolutePath(folder)) {
        int failure = 0;
        const std::optional<QString> working = workingFolder(&failure);
        if (!working) {
            // The system's "No such file or directory" for "." reads as nonsense to someone
            // whose shell still shows that folder as its prompt.
            if (error)
                *error = failure == ENOENT
                             ? QStringLiteral("the working folder no longer exists; change to "
                                              "a folder that does and run again")
                             : QStringLiteral("the working folder cannot be found (%1)")
                                   .arg(systemReason(failure));
            return {};
        }
        absolute = *working + QLatin1Char('/') + folder;
    }
    QStringList parts = absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    const qsizetype lastUp = parts.lastIndexOf(QStringLiteral(".."));
    if (lastUp < 0)
        return QLatin1Char('/') + parts.join(QLatin1Char('/'));

    const QByteArray throughLinks =
        QFile::encodeName(QLatin1Char('/') + parts.mid(0, lastUp + 1).join(QLatin1Char('/')));
    char resolved[PATH_MAX];
    if (!realpath(throughLinks.constData(), resolved)) {
        if (error)
            *error = systemReason(errno);
        return {};
    }
    QString result = QFile::decodeName(resolved);
    for (const QString& part : parts.mid(lastUp + 1)) {
        if (!result.endsWith(QLatin1Char('/')))
            result += QLatin1Char('/');
        result += part;
    }
    return result;
}

FolderInput filesOfFolders(const QStringList& folders, const QString& extension,
                           const FolderWalkHooks& hooks) {
    FolderInput input;
    const QString pattern = QStringLiteral("*.") + extension;
    for (const QString& folder : folders) {
        const QString shown = QLatin1Char('\'') + escapedName(folder) + QLatin1Char('\'');
        if (holdsInvalidBytes(folder)) {
            input.error = QStringLiteral("the folder name %1 cannot be used: it is not valid "
                                         "UTF-8, and this program holds names as UTF-8 text")
                              .arg(shown);
            return input;
        }
        QString unresolved;
        const QString absolute = folder.isEmpty() ? QString() : resolvedFolder(folder, &unresolved);
        if (!unresolved.isEmpty()) {
            input.error = QStringLiteral("cannot reach the folder %1: %2").arg(shown, unresolved);
            return input;
        }
        // The browser offers only folders; a mistyped one is the user's to hear about.
        if (absolute.isEmpty() || !IsFolder(absolute)) {
            struct stat status;
            const int failure =
                absolute.isEmpty() || stat(QFile::encodeName(absolute).constData(), &status) == 0
                    ? 0
                    : errno;
            // A folder behind one the user may not search cannot be told from a file.
            if (failure == ENOENT || failure == ENOTDIR)
                input.error = shown + QStringLiteral(" does not exist");
            else if (failure != 0)
                input.error = QStringLiteral("cannot reach the folder %1: %2")
                                  .arg(shown, systemReason(failure));
            else
                input.error = shown + QStringLiteral(" is not a folder");
            return input;
        }
        if (const QString reason = unreadableReason(absolute); !reason.isEmpty()) {
            input.error = QStringLiteral("cannot read the folder %1: %2").arg(shown, reason);
            return input;
        }
        input.paths.append(filesInFolderTree(absolute, pattern, PathStyle::Posix, hooks));
        if (hooks.stop.stop_requested())
            return input;
    }
    return input;
}

WriteOutcome writePathList(const QStringList& paths, QIODevice& output, bool nulSeparated) {
    const QChar separator = nulSeparated ? QChar(u'\0') : QChar(u'\n');
    BufferedTextWriter writer(output);
    for (const QString& path : paths) {
        QString& line = writer.pending();
        line.append(path);
        line.append(separator);
        if (!writer.written())
            break;
    }
    if (!writer.flush())
        return WriteOutcome::failure(writer.errorString());
    return WriteOutcome::success();
}

} // namespace velmora
