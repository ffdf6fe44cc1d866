#pragma once

#include "Trash.h"

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace velmora {

// The result of one trash request, per path: gone means the file is no longer present.
struct RecycleOutcome {
    RecycleOutcome() = default;
    RecycleOutcome(QString path, bool gone, QString reason, QString trashedFile = {})
        : path(std::move(path)), gone(gone), reason(std::move(reason)),
          trashedFile(std::move(trashedFile)) {}

    QString path;
    bool gone = false;
    QString reason;      // why it stayed, for the message
    QString trashedFile; // where the file now lies in the trash; empty when it was not moved
    TrashCheck check = TrashCheck::Passed; // what the last look before the move found
    QString keptPath;                      // the kept path of the same entry, for SameEntryKept
};

class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    // Moves the files to the trash, except any whose directory entry one of `keptPaths`
    // also names. Never deletes a file outright.
    virtual std::vector<RecycleOutcome> recycle(const QStringList& paths,
                                                const QStringList& keptPaths) = 0;
    // Shows the folder in the file manager; failure is ignored.
    virtual void openFolder(const QString& folder) = 0;
    // Opens the file with the application the desktop has for its type. False when no
    // application could be started.
    virtual bool openFile(const QString& path) = 0;
    // Shows the file selected in its folder. Returns at once: where no file manager
    // takes the request, the folder is opened instead, later.
    virtual void showInFolder(const QString& path) = 0;
};

} // namespace velmora
