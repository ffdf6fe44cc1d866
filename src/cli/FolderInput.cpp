#include "FolderInput.h"

#include "BufferedTextWriter.h"
#include "FolderWalk.h"

#include <QDir>

namespace velmora {

FolderInput filesOfFolders(const QStringList& folders, const QString& extension) {
    FolderInput input;
    const QString pattern = QStringLiteral("*.") + extension;
    for (const QString& folder : folders) {
        const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
        // The browser offers only folders; a mistyped one is the user's to hear about.
        if (folder.isEmpty() || !IsFolder(absolute)) {
            input.error = QStringLiteral("'%1' is not a folder").arg(folder);
            return input;
        }
        input.paths.append(filesInFolderTree(absolute, pattern, PathStyle::Posix));
    }
    return input;
}

WriteOutcome writePathList(const QStringList& paths, QIODevice& output) {
    BufferedTextWriter writer(output);
    for (const QString& path : paths) {
        QString& line = writer.pending();
        line.append(path);
        line.append(QLatin1Char('\n'));
        if (!writer.written())
            break;
    }
    if (!writer.flush())
        return WriteOutcome::failure(writer.errorString());
    return WriteOutcome::success();
}

} // namespace velmora
