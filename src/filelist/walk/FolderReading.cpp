#include "FolderReading.h"
#include "DirectoryStream.h"

#include "FileSystem.h"
#include "LoadRules.h"
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
            if (!name)
                reading.subfoldersNotUtf8.append(QByteArray(rawName));
            // Opened as folder + "/" + name + "/", which must stay below the limit.
            else if (folderPathBytes + 2 + static_cast<qsizetype>(std::strlen(rawName)) >= PATH_MAX)
                reading.subfoldersPathTooLong.append(QByteArray(rawName));
            else
                reading.subfolders.append(*name);
            continue;
        }
        if (!rules)
            continue;
        // A name that is not valid UTF-8 is judged by its nearest text, so only a name
        // loading would have taken counts.
        switch (rules->judge(rawName, type, name ? *name : QString::fromUtf8(rawName))) {
        case LoadRules::Verdict::Taken:
            if (name)
                reading.files.append(*name);
            else
                reading.filesNotUtf8.append(QByteArray(rawName));
            break;
        case LoadRules::Verdict::NotAFile:
            reading.filesNotAFile.append(QByteArray(rawName));
            break;
        case LoadRules::Verdict::PathTooLong:
            reading.filesPathTooLong.append(QByteArray(rawName));
            break;
        case LoadRules::Verdict::Refused:
            break;
        }
    }
    reading.filesUnreachable = rules && rules->lookupsDenied();
    sortNames(reading.subfolders);
    sortNames(reading.files);
    return reading;
}

} // namespace velmora
