#include "RemoveTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::testing {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Empties the folder open at `folder`, which stays open.
void removeEntriesOf(int folder) {
    DIR* listing = fdopendir(dup(folder));
    if (!listing)
        return;
    while (const dirent* entry = readdir(listing)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        struct stat status {};
        if (fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(status.st_mode)) {
            fchmodat(folder, name, 0700, 0);
            const int below = openat(folder, name, kFolderFlags);
            if (below >= 0) {
                removeEntriesOf(below);
                close(below);
            }
            unlinkat(folder, name, AT_REMOVEDIR);
        } else {
            unlinkat(folder, name, 0);
        }
    }
    closedir(listing);
}

} // namespace

bool removeTreeByBytes(const QByteArray& folder) {
    chmod(folder.constData(), 0700);
    const int descriptor = open(folder.constData(), kFolderFlags);
    if (descriptor >= 0) {
        removeEntriesOf(descriptor);
        close(descriptor);
    }
    return rmdir(folder.constData()) == 0;
}

} // namespace velmora::testing
