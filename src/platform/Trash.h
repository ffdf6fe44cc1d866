#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include <sys/stat.h>

namespace velmora {

// What the trash found when it looked at a path just before moving it. The list the user
// ticked from may be old by then: a file replaced by a folder must not take the folder's
// unseen contents along, and a file still shown by an unticked row must stay.
enum class TrashCheck {
    Passed,
    NoLongerAFile, // now a folder, or anything but a regular file or a symbolic link
    NoLongerThere,
    SameEntryKept, // an unticked row shows the same entry under another path
};

// The outcome of moving one file to the trash.
struct TrashMove {
    bool moved = false;
    QString trashedFile; // where the file now lies, when moved
    QString reason;      // why it was not moved, for the message
    TrashCheck check = TrashCheck::Passed;
    QString keptPath; // the unticked path of the same entry, for SameEntryKept
};

// The paths whose directory entries must stay where they are. Two paths name one entry
// when their containing folders are the same folder on disk (a symbolic link to a
// folder, a bind mount, "//", "/./" and ".." all lead there) and their last names are
// equal; hard links are different entries, since trashing one keeps the data under the
// other. The folders are looked at only when asked, so the answer is the one of that
// moment.
class KeptEntries {
public:
    KeptEntries() = default;
    // Only kept paths sharing a last name with one of the paths to move can ever match,
    // so only those are held.
    KeptEntries(const QStringList& keptPaths, const QStringList& pathsToMove);

    // One more path whose entry is looked for, whatever its last name.
    void add(const QString& path);

    // The kept path that names the entry `name` of the folder `folder` describes.
    std::optional<QString> keeperOf(const struct stat& folder, const QByteArray& name) const;
    // The kept path that names the same entry as `path`.
    std::optional<QString> keeperOf(const QString& path) const;

private:
    QHash<QByteArray, QList<QByteArray>> keptByName_;
};

// Moves the file (a link itself, not what it points at) to the freedesktop.org trash
// that other programs show and restore from: the home trash under $XDG_DATA_HOME
// (created when missing) for a file on the home trash's file system, otherwise the trash
// at the top of the file's own file system ($topdir/.Trash/$uid when an administrator
// has prepared $topdir/.Trash, else $topdir/.Trash-$uid). The record written beside it
// names the original path percent-encoded; a name too long to leave room for the
// record's ".trashinfo" is shortened inside the trash, the record keeping the full path.
// The path is checked again just before the move: only a regular file or a symbolic
// link whose entry no kept path shows is moved. A file that cannot be moved stays where
// it is and is never deleted.
TrashMove moveToTrash(const QString& path, const KeptEntries& kept = {});

// The Path value of a trash record for the path's bytes: every byte percent-encoded but
// letters, digits, "-", ".", "_", "~" and "/".
QByteArray encodedTrashPath(const QByteArray& nativePath);

// The path bytes a record's Path value stands for. Records written by other programs
// sometimes hold the raw path; a value an encoder could not have written (a space, a
// byte beyond ASCII, a "%" not followed by two hex digits) is taken as it stands.
QByteArray decodedTrashPath(const QByteArray& value);

} // namespace velmora
