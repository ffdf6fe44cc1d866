#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

class WalkPacing;

// What one pass over a folder's entries tells the walk.
struct FolderReading {
    enum class Outcome {
        Complete,
        PermissionDenied, // the folder may not be read
        Vanished,         // the folder is gone, or is no longer a folder
        Interrupted,      // the listing failed part way, or could not start for another reason
    };

    Outcome outcome = Outcome::Complete;
    // The real subfolders the system can open by path, sorted like listings. Symbolic
    // links to folders are not among them: following them could walk in circles.
    QStringList subfolders;
    // With a load pattern: the names loading takes from this folder, sorted like
    // listings. They match the pattern, do not start with "~", are regular files (or links
    // to them) that can be opened, and are not exactly hidden + archive.
    QStringList files;
    // The names of this folder, as bytes, that are not valid UTF-8: subfolders the walk
    // would have entered, and (with a load pattern) files loading would have taken. They
    // cannot be held as text unchanged, so they are left out.
    QList<QByteArray> subfoldersNotUtf8;
    QList<QByteArray> filesNotUtf8;
    // Real subfolders, as bytes, whose own paths are too long for the system to open: the
    // walk cannot enter them by path.
    QList<QByteArray> subfoldersPathTooLong;
    // With a load pattern: files, as bytes, loading would have taken but for their paths
    // being too long to open, and FIFOs, sockets and devices (or links to them) it would
    // have taken if they were files.
    QList<QByteArray> filesPathTooLong;
    QList<QByteArray> filesNotAFile;
    // With a load pattern: the folder lists its names but may not be searched, so none of
    // its files can be opened.
    bool filesUnreachable = false;
};

// Reads the folder's entries once, ending early (Interrupted) when the pacing says a stop
// was requested. The entry types the directory itself reports spare a status call per
// entry: only hidden names, links and entries of unknown type are examined one by one.
// Without a load pattern only the subfolders are collected.
FolderReading readFolder(const QString& folder, const QString* loadPattern,
                         WalkPacing* pacing = nullptr);

} // namespace velmora
