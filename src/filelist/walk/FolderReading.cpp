#include "FolderReading.h"
#include "DirectoryStream.h"

#include "FileSystem.h"
#include "WalkPacing.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace velmora {

namespace {

FolderReading::Outcome outcomeOfOpenFailure(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return FolderReading::Outcome::PermissionDenied;
    case ENOENT:
    case ENOTDIR:
        return FolderReading::Outcome::Vanished;
    default:
        return FolderReading::Outcome::Interrupted;
    }
}

unsigned char entryTypeOf(mode_t mode) {
    if (S_ISDIR(mode))
        return DT_DIR;
    if (S_ISLNK(mode))
        return DT_LNK;
    return DT_REG; // any other kind of file opens like one
}

bool matchesEverything(const QString& pattern) {
    return pattern == QLatin1String("*.*") || pattern == QLatin1String("*");
}

// Decides which files of one folder loading takes. Opening a file by its path needs
// nothing of the file but that it exists and that its folder may be searched; the
// listing already says it exists, so one lookup per folder tells whether every plain
// file of it would open.
class LoadRules {
public:
    LoadRules(const QString& pattern, int folderDescriptor, qsizetype folderPathBytes)
        : pattern_(pattern), everything_(matchesEverything(pattern)),
          folderDescriptor_(folderDescriptor), folderPathBytes_(folderPathBytes) {}

    bool takes(const char* rawName, unsigned char type, const QString& name) {
        // "~" starts the owner files that office programs leave beside open documents.
        if (rawName[0] == '~')
            return false;
        if (!everything_ && !wildcardMatches(pattern_, name))
            return false;
        // Opening folder + "/" + name fails once the path reaches the platform's limit.
        if (folderPathBytes_ + 1 + static_cast<qsizetype>(std::strlen(rawName)) >= PATH_MAX)
            return false;

        if (type == DT_LNK) {
            // A link opens what it points at; a link to a folder is neither walked nor
            // loaded. A link is a reparse point, so never exactly hidden + archive.
            struct stat target {};
            return fstatat(folderDescriptor_, rawName, &target, 0) == 0 && !S_ISDIR(target.st_mode);
        }
        const bool hidden = rawName[0] == '.';
        if (!hidden && lookups_ == Lookups::Work)
            return true;
        if (!hidden && lookups_ == Lookups::Denied)
            return false;
        struct stat status {};
        if (fstatat(folderDescriptor_, rawName, &status, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == EACCES)
                lookups_ = Lookups::Denied;
            return false;
        }
        lookups_ = Lookups::Work;
        if (S_ISDIR(status.st_mode))
            return false;
        // Hidden + archive and nothing else (34): a hidden file the owner may write.
        if (S_ISLNK(status.st_mode))
            return takes(rawName, DT_LNK, name);
        return !(hidden && (status.st_mode & S_IWUSR) != 0);
    }

    bool lookupsDenied() const { return lookups_ == Lookups::Denied; }

private:
    enum class Lookups { Unknown, Work, Denied };

    const QString& pattern_;
    bool everything_;
    int folderDescriptor_;
    qsizetype folderPathBytes_;
    Lookups lookups_ = Lookups::Unknown;
};

} // namespace

FolderReading readFolder(const QString& folder, const QString* loadPattern, WalkPacing* pacing) {
    FolderReading reading;
    const QByteArray nativeFolder = QFile::encodeName(folder);
    DirectoryStream directory(nativeFolder);
    if (!directory.get()) {
        reading.outcome = outcomeOfOpenFailure(errno);
        return reading;
    }
    const int folderDescriptor = dirfd(directory.get());
    const qsizetype folderPathBytes =
        nativeFolder.endsWith('/') ? nativeFolder.size() - 1 : nativeFolder.size();
    std::optional<LoadRules> rules;
    if (loadPattern)
        rules.emplace(*loadPattern, folderDescriptor, folderPathBytes);

    for (unsigned entriesRead = 1;; ++entriesRead) {
        if (pacing && entriesRead % 512 == 0) {
            pacing->maybeYield();
            if (pacing->stopRequested()) {
                reading.outcome = FolderReading::Outcome::Interrupted;
                break;
            }
        }
        errno = 0;
        const dirent* entry = readdir(directory.get());
        if (!entry) {
            if (errno != 0)
                reading.outcome = FolderReading::Outcome::Interrupted;
            break;
        }
        const char* rawName = entry->d_name;
        if (isDotOrDotDot(rawName))
            continue;
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            struct stat status {};
            if (fstatat(folderDescriptor, rawName, &status, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            type = entryTypeOf(status.st_mode);
        }
        const std::optional<QString> name = decodeFileName(rawName);
        if (type == DT_DIR) {
            if (name)
                reading.subfolders.append(*name);
            else
                reading.subfoldersNotUtf8.append(QByteArray(rawName));
            continue;
        }
        if (!rules)
            continue;
        if (name) {
            if (rules->takes(rawName, type, *name))
                reading.files.append(*name);
        } else if (rules->takes(rawName, type, QString::fromUtf8(rawName))) {
            // Judged by its nearest text, so only a name loading would have taken counts.
            reading.filesNotUtf8.append(QByteArray(rawName));
        }
    }
    reading.filesUnreachable = rules && rules->lookupsDenied();
    sortNames(reading.subfolders);
    sortNames(reading.files);
    return reading;
}

} // namespace velmora
