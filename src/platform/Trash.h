#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// The outcome of moving one file to the trash.
struct TrashMove {
    bool moved = false;
    QString trashedFile; // where the file now lies, when moved
    QString reason;      // why it was not moved, for the message
};

// Moves the file (a link itself, not what it points at) to the freedesktop.org trash
// that other programs show and restore from: the home trash under $XDG_DATA_HOME
// (created when missing) for a file on the home trash's file system, otherwise the trash
// at the top of the file's own file system ($topdir/.Trash/$uid when an administrator
// has prepared $topdir/.Trash, else $topdir/.Trash-$uid). The record written beside it
// names the original path percent-encoded. A file that cannot be moved stays where it is
// and is never deleted.
TrashMove moveToTrash(const QString& path);

// The Path value of a trash record for the path's bytes: every byte percent-encoded but
// letters, digits, "-", ".", "_", "~" and "/".
QByteArray encodedTrashPath(const QByteArray& nativePath);

// The path bytes a record's Path value stands for. Records written by other programs
// sometimes hold the raw path; a value an encoder could not have written (a space, a
// byte beyond ASCII, a "%" not followed by two hex digits) is taken as it stands.
QByteArray decodedTrashPath(const QByteArray& value);

} // namespace velmora
