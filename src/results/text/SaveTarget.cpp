#include "SaveTarget.h"

#include "FileSystem.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

// Whether a new file made by this user could be given the old one's owner and group:
// only the superuser may give a file away, anyone may pick among their own groups.
bool canKeepOwnerAndGroup(const struct stat& status) {
    if (geteuid() == 0)
        return true;
    if (status.st_uid != geteuid())
        return false;
    if (status.st_gid == getegid())
        return true;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(getgroups(0, nullptr), 0)));
    groups.resize(static_cast<std::size_t>(
        std::max(getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
    return std::find(groups.begin(), groups.end(), status.st_gid) != groups.end();
}

} // namespace

SaveTarget saveTargetFor(const QString& path) {
    SaveTarget target;
    target.path = path;
    const QByteArray native = QFile::encodeName(path);
    struct stat link {};
    const bool isLink = lstat(native.constData(), &link) == 0 && S_ISLNK(link.st_mode);
    // A file whose real name is not valid UTF-8 cannot be named to make a new file in its
    // place: anything but writing it through the link would write another file.
    bool unnameable = false;
    if (isLink) {
        // Resolved by its bytes: the toolkit's own resolution would drop a leading U+FEFF
        // from a name and write to another file.
        const std::unique_ptr<char, decltype(&std::free)> resolved(
            realpath(native.constData(), nullptr), &std::free);
        if (resolved) {
            if (const std::optional<QString> text = decodeFileName(resolved.get()))
                target.path = *text;
            else
                unnameable = true;
        }
    }
    struct stat status {};
    if (stat(QFile::encodeName(target.path).constData(), &status) != 0) {
        // Nothing there yet: a new file. But a link that cannot be followed to its end (a
        // loop) leads to no name a new file could take; writing would replace the link.
        if (isLink && errno != ENOENT)
            target.way = SaveTarget::Way::Refuse;
        return target;
    }
    if (!S_ISREG(status.st_mode)) {
        target.way = SaveTarget::Way::Refuse;
        return target;
    }
    target.existing = true;
    target.owner = status.st_uid;
    target.group = status.st_gid;
    target.mode = status.st_mode & 07777;
    const QByteArray folder = QFile::encodeName(QFileInfo(target.path).absolutePath());
    const bool folderWritable = access(folder.constData(), W_OK | X_OK) == 0;
    // Someone else's file, or one of a group the user is not in, is written in place: a
    // new file would change hands and shut out whoever the old one let in.
    if (status.st_nlink > 1 || !folderWritable || unnameable || !canKeepOwnerAndGroup(status))
        target.way = SaveTarget::Way::RewriteInPlace;
    return target;
}

QString refusedSaveMessage(const QString& path) {
    return path +
           QStringLiteral(" is not a regular file. Nothing was written; choose another name.");
}

void keepOwnerAndPermissions(int descriptor, const SaveTarget& target) {
    if (!target.existing || descriptor < 0)
        return;
    // Only the superuser may give a file away; anyone may choose among their own groups.
    // Whatever may not be set stays the user's own.
    bool ownerKept = fchown(descriptor, target.owner, target.group) == 0;
    if (!ownerKept)
        ownerKept = fchown(descriptor, static_cast<uid_t>(-1), target.group) == 0;
    // Last, since a change of owner clears the set-user and set-group bits.
    const bool modeKept = fchmod(descriptor, target.mode) == 0;
    static_cast<void>(ownerKept);
    static_cast<void>(modeKept);
}

} // namespace velmora
