#pragma once

#include <QStringView>

#include <compare>
#include <optional>
#include <vector>

#include <sys/stat.h>

namespace velmora {

// A folder as the disk knows it, whatever text leads there. Two paths name one directory
// entry exactly when their folders have equal identities and their last names are equal:
// the rule the search and the trash both keep.
struct FolderIdentity {
    dev_t device = 0;
    ino_t inode = 0;

    static FolderIdentity of(const struct stat& status) { return {status.st_dev, status.st_ino}; }
    friend auto operator<=>(const FolderIdentity&, const FolderIdentity&) = default;
};

// The identity of the folder the bytes name, following symbolic links; nothing when it
// cannot be looked at.
std::optional<FolderIdentity> folderIdentityAt(const char* nativeFolder);

// Which of the given paths (distinct texts) name one directory entry: per path, the
// position in the list of the first path naming the same entry, or its own position when
// no path before it does. Two paths name one entry when their folders are one folder on
// disk (the same device and inode, whatever the texts: symbolic links to folders, bind
// mounts, "//", "/./", "..") and their last names are equal byte for byte. A path that
// does not exist, or whose folder cannot be looked at, is an entry of its own; so is each
// hard link, since each is a name of its own in its folder. Each folder text is looked at
// once, by `threads` threads (0: one per core), and a path itself only when another path
// names its folder and its name.
std::vector<int> firstPathsOfSameEntries(const std::vector<QStringView>& paths, int threads = 0);

} // namespace velmora
