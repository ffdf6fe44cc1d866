#pragma once

#include "PathStyle.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <stop_token>

namespace velmora {

// What a walk needs of its caller. Both may be empty.
struct FolderWalkHooks {
    // Lets the window handle pending events; the walk calls it by elapsed time, not once
    // per folder or file.
    std::function<void()> yield;
    // A failure of one of the walk's own steps (description, step number); the walk goes
    // on with its next step.
    std::function<void(const QString& description, int step)> reportFailure;
    // How long the walk runs between two calls of `yield`.
    std::chrono::milliseconds yieldInterval{20};
    // A requested stop ends the walk at its next entry; what it found so far is returned.
    std::stop_token stop;
    // Something the walk had to leave out, named by its bytes on disk, for a caller that
    // reports it; may be empty. Only with it are the trees below folders whose paths are
    // too long to open walked, to tell each file there.
    enum class LeftOut {
        FileNameNotUtf8,
        FolderNameNotUtf8,
        FolderUnreadable,
        PathTooLong, // a file loading would take, but its path is too long to open
        NotAFile,    // a FIFO, a socket or a device, or a link to one
    };
    std::function<void(LeftOut what, const QByteArray& nativePath)> leftOut;
};

// Extends `folders` (each entry ends in the separator) with every folder below its
// entries, level by level. Folders that may not be read or have vanished are dropped
// (those that may not be read are told to `leftOut`, nothing else is said); symbolic links
// to folders are not followed. Every name is taken exactly as on disk.
void GetSubDirectories2016(QStringList& folders, bool recurse, PathStyle style,
                           const FolderWalkHooks& hooks = {});

// The names of the files in `folder` that match the wildcard pattern and can be opened,
// sorted like a listing.
QStringList ListFilesInFolder(const QString& folder, const QString& pattern, PathStyle style);

bool FileCanBeOpened(const QString& path);
bool IsFolder(const QString& path);
// A FIFO, a socket or a device, or a link to one: nothing a user tidies.
bool IsSpecialFile(const QString& path);
bool HasBadCharacters(const QString& name);

// Every file that loading `folder` with `pattern` adds to the file list, in the order it
// adds them: the folder tree breadth-first, each folder's listing in order, without names
// starting with "~", files that are exactly hidden + archive and anything that is not a
// regular file (FIFOs, sockets, devices), each path cleaned.
// Each folder is read once.
QStringList filesInFolderTree(const QString& folder, const QString& pattern, PathStyle style,
                              const FolderWalkHooks& hooks = {});

} // namespace velmora
