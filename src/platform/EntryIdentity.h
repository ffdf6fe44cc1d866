#pragma once

#include <QStringView>

#include <vector>

namespace velmora {

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
