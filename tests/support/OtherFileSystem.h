#pragma once

#include "Mount.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace velmora::testing {

// A folder on another file system than `trashHome`, and that file system's top as the
// trash finds it: a tmpfs of the test's own where it may mount, else the shared-memory
// folder (whose top, in a chroot that bound /dev without its submounts, is /dev).
class OtherFileSystem {
public:
    explicit OtherFileSystem(const QString& trashHome) {
        if (geteuid() == 0 && mountPoint_.isValid()) {
            own_.emplace(QStringLiteral("tmpfs"), mountPoint_.path(), "tmpfs", MS_NOSUID | MS_NODEV,
                         "size=16m,mode=0755");
            if (own_->failure().isEmpty()) {
                top = QFileInfo(mountPoint_.path()).canonicalFilePath();
                folder = top + QStringLiteral("/work");
                QDir().mkpath(folder);
                return;
            }
            notOwnMountBecause = own_->failure();
            own_.reset();
        }
        shared_.emplace(QStringLiteral("/dev/shm/velmora-other-XXXXXX"));
        folder = QFileInfo(shared_->path()).canonicalFilePath();
        top = topOf(folder);
        if (!shared_->isValid() || deviceOf(folder) == deviceOf(trashHome) ||
            ::access(QFile::encodeName(top).constData(), W_OK | X_OK) != 0)
            skipReason = QStringLiteral("a tmpfs cannot be mounted (") + notOwnMountBecause +
                         QStringLiteral(") and /dev/shm is on no other file system whose top ") +
                         top + QStringLiteral(" may be written");
    }

    // True when the whole file system is the test's own, so its top may be changed.
    bool isOwnMount() const { return own_.has_value(); }

    static dev_t deviceOf(const QString& path) {
        struct stat status {};
        return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_dev : 0;
    }

    // The topmost folder above a real path that is on its file system.
    static QString topOf(QString path) {
        const dev_t device = deviceOf(path);
        while (path != QLatin1String("/")) {
            const QString parent = QFileInfo(path).path();
            if (deviceOf(parent) != device)
                break;
            path = parent;
        }
        return path;
    }

    QString folder; // where the test makes its files
    QString top;
    QString skipReason;
    QString notOwnMountBecause = QStringLiteral("not running as root");

private:
    QTemporaryDir mountPoint_{QDir::tempPath() + QStringLiteral("/velmora-mount-XXXXXX")};
    std::optional<Mount> own_; // unmounted before its mount point goes
    std::optional<QTemporaryDir> shared_;
};

} // namespace velmora::testing
