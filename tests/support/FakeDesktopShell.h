#pragma once

#include "DesktopShell.h"
#include "QtDesktop.h"

#include <QStringList>

#include <vector>

namespace velmora::testing {

// The trash is real (the test's own XDG_DATA_HOME), so recycle goes to the real shell
// and only records what it was asked; opening a file, a folder or a file manager is
// recorded instead.
class FakeDesktopShell : public DesktopShell {
public:
    std::vector<RecycleOutcome> recycle(const QStringList& paths,
                                        const QStringList& keptPaths) override {
        recycleRequests.push_back(paths);
        if (declineRecycle) { // as if the user said no: nothing touched
            std::vector<RecycleOutcome> outcomes;
            for (const QString& path : paths)
                outcomes.push_back({path, false, QStringLiteral("The user declined.")});
            return outcomes;
        }
        return realShell.recycle(paths, keptPaths);
    }

    void openFolder(const QString& folder) override { openedFolders << folder; }
    bool openFile(const QString& path) override {
        openedFiles << path;
        return true;
    }
    void showInFolder(const QString& path) override { shownItems << path; }

    bool declineRecycle = false;
    std::vector<QStringList> recycleRequests;
    QStringList openedFolders;
    QStringList openedFiles;
    QStringList shownItems;
    QtDesktopShell realShell;
};

} // namespace velmora::testing
