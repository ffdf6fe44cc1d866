#include "LoadRules.h"

#include "FileSystem.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace velmora {

namespace {

bool matchesEverything(const QString& pattern) {
    return pattern == QLatin1String("*.*") || pattern == QLatin1String("*");
}

// What `find -type f` leaves out too: nothing a user tidies, and opening a FIFO to look at
// it would wait for a writer.
bool isSpecial(unsigned char type) {
    return type == DT_FIFO || type == DT_SOCK || type == DT_CHR || type == DT_BLK;
}

} // namespace

unsigned char entryTypeOf(mode_t mode) {
    if (S_ISDIR(mode))
        return DT_DIR;
    if (S_ISLNK(mode))
        return DT_LNK;
    if (S_ISFIFO(mode))
        return DT_FIFO;
    if (S_ISSOCK(mode))
        return DT_SOCK;
    if (S_ISCHR(mode))
        return DT_CHR;
    if (S_ISBLK(mode))
        return DT_BLK;
    return DT_REG;
}

LoadRules::LoadRules(const QString& pattern, int folderDescriptor, qsizetype folderPathBytes)
    : pattern_(pattern), everything_(matchesEverything(pattern)),
      folderDescriptor_(folderDescriptor), folderPathBytes_(folderPathBytes) {}

LoadRules::Verdict LoadRules::judge(const char* rawName, unsigned char type, const QString& name) {
    // "~" starts the owner files that office programs leave beside open documents.
    if (rawName[0] == '~')
        return Verdict::Refused;
    if (!everything_ && !wildcardMatches(pattern_, name))
        return Verdict::Refused;
    const Verdict kind = judgeKind(rawName, type);
    // Opening folder + "/" + name fails once the path reaches the platform's limit.
    if (kind == Verdict::Taken &&
        folderPathBytes_ + 1 + static_cast<qsizetype>(std::strlen(rawName)) >= PATH_MAX)
        return Verdict::PathTooLong;
    return kind;
}

LoadRules::Verdict LoadRules::judgeKind(const char* rawName, unsigned char type) {
    if (type == DT_LNK) {
        // A link opens what it points at; a link to a folder is neither walked nor
        // loaded. A link is a reparse point, so never exactly hidden + archive.
        struct stat target {};
        if (fstatat(folderDescriptor_, rawName, &target, 0) != 0 || S_ISDIR(target.st_mode))
            return Verdict::Refused;
        return S_ISREG(target.st_mode) ? Verdict::Taken : Verdict::NotAFile;
    }
    const bool hidden = rawName[0] == '.';
    if (!hidden && lookups_ == Lookups::Work)
        return isSpecial(type) ? Verdict::NotAFile : Verdict::Taken;
    if (!hidden && lookups_ == Lookups::Denied)
        return Verdict::Refused;
    struct stat status {};
    if (fstatat(folderDescriptor_, rawName, &status, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == EACCES)
            lookups_ = Lookups::Denied;
        return Verdict::Refused;
    }
    lookups_ = Lookups::Work;
    if (S_ISDIR(status.st_mode))
        return Verdict::Refused;
    if (S_ISLNK(status.st_mode))
        return judgeKind(rawName, DT_LNK);
    // Hidden + archive and nothing else (34): a hidden file the owner may write.
    if (hidden && (status.st_mode & S_IWUSR) != 0)
        return Verdict::Refused;
    return S_ISREG(status.st_mode) ? Verdict::Taken : Verdict::NotAFile;
}

} // namespace velmora
