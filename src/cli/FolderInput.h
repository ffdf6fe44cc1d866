#pragma once

#include "FolderWalk.h"
#include "WriteProgress.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

namespace velmora {

struct FolderInput {
    QStringList paths;
    QString error; // names the folder that could not be walked; empty when all were

    bool ok() const { return error.isEmpty(); }
};

// The file list as "Add All File(s) In Folder" builds it, answered with `extension` for
// each folder in turn, the lists one after another. Each folder is taken as the system
// resolves it (see resolvedFolder) and must be a folder this user may read.
FolderInput filesOfFolders(const QStringList& folders, const QString& extension,
                           const FolderWalkHooks& hooks = {});

// `folder` made absolute, as the folder browser gives it: "." and repeated separators are
// dropped, while ".." is left to the system, which takes it from wherever a symbolic link
// before it leads (so "jump/.." is the folder above jump's target, as ls and find have
// it). Empty, with `error` set to the system's reason, when the system cannot resolve it
// (or to the working folder being gone, for a relative `folder`).
QString resolvedFolder(const QString& folder, QString* error);

// One path per record: LF, or NUL with `nulSeparated`.
WriteOutcome writePathList(const QStringList& paths, QIODevice& output, bool nulSeparated = false);

} // namespace velmora
