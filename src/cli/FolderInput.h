#pragma once

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
// each folder in turn, the lists one after another. Folders are made absolute and
// cleaned, as the folder browser gives them.
FolderInput filesOfFolders(const QStringList& folders, const QString& extension);

// One path per line, LF.
WriteOutcome writePathList(const QStringList& paths, QIODevice& output);

} // namespace velmora
