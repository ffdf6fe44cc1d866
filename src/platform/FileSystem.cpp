#include "FileSystem.h"
#include "DirectoryStream.h"
#include "Utf8Text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

// The last component of the path, ignoring trailing separators, so "/a/.b/" is hidden too.
QString lastComponent(const QString& path) {
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == QLatin1Char('/'))
        --end;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'), end - 1);
    return path.mid(slash + 1, end - slash - 1);
}

bool matchesFrom(const QString& pattern, const QString& name) {
    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype starAt = -1;  // pattern position after the last "*" seen
    qsizetype starName = 0; // name position that "*" has reached so far
    while (n < name.size()) {
        if (p < pattern.size() && pattern.at(p) == QLatin1Char('*')) {
            starAt = ++p;
            starName = n;
        } else if (p < pattern.size() &&
                   (pattern.at(p) == QLatin1Char('?') ||
                    pattern.at(p).toCaseFolded() == name.at(n).toCaseFolded())) {
            ++p;
            ++n;
        } else if (starAt >= 0) {
            p = starAt;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

} // namespace

std::optional<QString> decodeFileName(const char* nativeName) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(nativeName);
    const unsigned char* end = bytes;
    bool ascii = true;
    for (; *end; ++end)
        ascii = ascii && *end < 0x80;
    const auto size = static_cast<qsizetype>(end - bytes);
    if (ascii)
        return QString::fromLatin1(nativeName, size);
    const QByteArrayView name(nativeName, size);
    if (firstInvalidUtf8(name) >= 0)
        return std::nullopt;
    return decodedUtf8(name);
}

RuntimeError::RuntimeError(int number, const QString& description)
    : std::runtime_error(description.toStdString()), number_(number) {}

std::optional<int> readAttributeBits(const QString& path) {
    if (path.isEmpty())
        return std::nullopt;
    const QByteArray native = nativePath(path);
    struct stat link {};
    if (lstat(native.constData(), &link) != 0)
        return std::nullopt;
    int bits = 0;
    struct stat target = link;
    if (S_ISLNK(link.st_mode)) {
        bits |= ReparsePoint;
        // A dangling link is still a name in its folder: describe the link itself.
        if (stat(native.constData(), &target) != 0)
            target = link;
    }
    bits |= S_ISDIR(target.st_mode) ? Directory : Archive;
    if ((target.st_mode & S_IWUSR) == 0)
        bits |= ReadOnly;
    if (lastComponent(path).startsWith(QLatin1Char('.')))
        bits |= Hidden;
    return bits;
}

bool FileIsPresent(const QString& path) {
    struct stat status {};
    return !path.isEmpty() && stat(nativePath(path).constData(), &status) == 0;
}

bool canOpenFile(const QString& path) {
    if (path.isEmpty())
        return false;
    const QByteArray native = nativePath(path);
    struct stat status {};
    if (stat(native.constData(), &status) != 0 || S_ISDIR(status.st_mode))
        return false;
    const int descriptor = open(native.constData(), O_PATH | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    close(descriptor);
    return true;
}

bool wildcardMatches(const QString& pattern, const QString& name) {
    if (matchesFrom(pattern, name))
        return true;
    if (pattern.endsWith(QLatin1String(".*")))
        return matchesFrom(pattern.chopped(2), name) && !name.contains(QLatin1Char('.'));
    return false;
}

void sortNames(QStringList& names) {
    std::sort(names.begin(), names.end(), [](const QString& left, const QString& right) {
        const int order = QString::compare(left, right, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : left < right;
    });
}

QStringList listFiles(const QString& folder, const QString& pattern) {
    QStringList names;
    DirectoryStream directory(nativePath(folder));
    if (!directory.get())
        return names;
    const int folderDescriptor = dirfd(directory.get());
    while (const dirent* entry = readdir(directory.get())) {
        if (isDotOrDotDot(entry->d_name) || entry->d_type == DT_DIR)
            continue;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat target {};
            if (fstatat(folderDescriptor, entry->d_name, &target, 0) == 0 &&
                S_ISDIR(target.st_mode))
                continue;
        }
        const std::optional<QString> name = decodeFileName(entry->d_name);
        if (name && wildcardMatches(pattern, *name))
            names.append(*name);
    }
    sortNames(names);
    return names;
}

int FolderObject::Attributes() const {
    const std::optional<int> bits = readAttributeBits(path_);
    if (!bits)
        throw RuntimeError(RuntimeError::PathNotFound, QStringLiteral("Path not found"));
    return *bits;
}

bool FolderObject::IsRootFolder() const {
    return QDir::cleanPath(path_) == QLatin1String("/");
}

QStringList FolderObject::SubFolders() const {
    DirectoryStream directory(nativePath(path_));
    if (!directory.get()) {
        switch (errno) {
        case EACCES:
        case EPERM:
            throw RuntimeError(RuntimeError::PermissionDenied, QStringLiteral("Permission denied"));
        case ENOENT:
        case ENOTDIR:
            throw RuntimeError(RuntimeError::PathNotFound, QStringLiteral("Path not found"));
        default:
            throw RuntimeError(RuntimeError::PathFileAccessError,
                               QStringLiteral("Path/File access error"));
        }
    }
    QStringList names;
    const int folderDescriptor = dirfd(directory.get());
    while (const dirent* entry = readdir(directory.get())) {
        if (isDotOrDotDot(entry->d_name))
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat status {};
            isFolder =
                fstatat(folderDescriptor, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISDIR(status.st_mode);
        }
        if (!isFolder)
            continue;
        if (const std::optional<QString> name = decodeFileName(entry->d_name))
            names.append(*name);
    }
    sortNames(names);
    return names;
}

FolderObject GetFolder(const QString& path) {
    struct stat status {};
    if (path.isEmpty() || stat(nativePath(path).constData(), &status) != 0 ||
        !S_ISDIR(status.st_mode))
        throw RuntimeError(RuntimeError::PathNotFound, QStringLiteral("Path not found"));
    return FolderObject(path);
}

QString applicationFolder() {
    return QCoreApplication::applicationDirPath();
}

} // namespace velmora
