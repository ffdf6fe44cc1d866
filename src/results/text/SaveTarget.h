#pragma once

#include <QString>

#include <sys/types.h>

namespace velmora {

// How a save writes to the path the user chose without damaging what is there.
struct SaveTarget {
    enum class Way {
        // A complete new file takes the old one's place in one step, so a failure leaves
        // the old file as it was: for a new file, or a file of the user's with no other
        // names, in a folder the user may write.
        Replace,
        // The file itself is emptied and written: replacing it would split it from its
        // other names (hard links) or give it to another owner or group, the folder
        // allows no new file beside it, or a link leads to it under a name that is not
        // valid UTF-8.
        RewriteInPlace,
        // A device, a pipe, a folder, a link in a loop or anything else that is not a
        // plain file: nothing is written to it.
        Refuse,
    };

    Way way = Way::Replace;
    QString path;          // the file written, symbolic links followed
    bool existing = false; // whether a file is there already; then the three below are its
    uid_t owner = 0;
    gid_t group = 0;
    mode_t mode = 0;
};

SaveTarget saveTargetFor(const QString& path);

// Why nothing was written to a path that names no plain file, and what the user can do.
QString refusedSaveMessage(const QString& path);

// Gives the file behind the descriptor the old file's owner, group and permissions, as
// far as the user may set them; what may not be set stays as it is. A write by anyone but
// the superuser clears the set-user and set-group bits, so it is called after the last one.
void keepOwnerAndPermissions(int descriptor, const SaveTarget& target);

} // namespace velmora
