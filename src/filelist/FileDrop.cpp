#include "FileDrop.h"

#include "ErrorTrap.h"
#include "FileSystem.h"
#include "Yield.h"

#include <QMimeData>
#include <QUrl>

namespace velmora {

QStringList droppedLocalPaths(const QMimeData& data) {
    QStringList paths;
    if (!data.hasUrls())
        return paths;
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            paths << url.toLocalFile();
    }
    return paths;
}

std::optional<Qt::DropAction> dropActionFor(Qt::DropActions possible) {
    if (possible.testFlag(Qt::CopyAction))
        return Qt::CopyAction;
    if (possible.testFlag(Qt::LinkAction))
        return Qt::LinkAction;
    return std::nullopt;
}

void ListView1_OLEDragDrop(const QStringList& droppedPaths, FileList& list, PathStyle style,
                           const FolderWalkHooks& hooks) {
    for (const QString& path : droppedPaths) {
        // The drop has no error trap of its own: whatever goes wrong with one path must
        // neither end the program nor keep the paths after it out.
        try {
            if (!readAttributeBits(path))
                continue;
            if (hooks.stop.stop_requested())
                return;
            if (IsFolder(path)) {
                QStringList files = filesInFolderTree(path, QStringLiteral("*.*"), style, hooks);
                if (!hooks.stop.stop_requested())
                    list.addMany(files);
            } else if (!IsSpecialFile(path)) {
                // FIFOs, sockets and devices are left out, as the folder walk leaves them.
                list.Add(path);
            }
        } catch (...) {
            continue;
        }
    }
}

FolderWalkHooks dropWalkHooks(MessageBoxes& messages, std::stop_token stop) {
    FolderWalkHooks hooks;
    hooks.yield = yieldToWindowSystem;
    hooks.stop = std::move(stop);
    ErrorTrap walkTrap(messages, QStringLiteral("AddFolder"),
                       QStringLiteral("GetSubDirectories2016"),
                       QString::fromLatin1(ErrorTrap::folderWalkPrefix));
    hooks.reportFailure = [walkTrap](const QString& description, int step) mutable {
        walkTrap.report(description, step);
    };
    return hooks;
}

} // namespace velmora
