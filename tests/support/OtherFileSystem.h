#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <optional>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::testing {

// A folder on another file system than `trashHome`, with the top of that file system as
// the trash finds it. Where the test may mount (as root), it mounts a tmpfs of its own
// on a temporary folder and unmounts it at the end; elsewhere it uses the shared-memory
// folder when that is another file system, its top found by walking up while the device
// stays the same (in a chroot whose /dev was bound without its submounts, that is /dev).
// Otherwise skipReason says why there is none.
class OtherFileSystem {
public:
    explicit OtherFileSystem(const QString& trashHome) {
        if (geteuid() == 0 && mountPoint_.isValid()) {
            if (::mount("tmpfs", QFile::encodeName(mountPoint_.path()).constData(), "tmpfs",
                        MS_NOSUID | MS_NODEV, "size=16m,mode=0755") == 0) {
                mounted_ = true;
                top = QFileInfo(mountPoint_.path()).canonicalFilePath();
                folder = top + QStringLiteral("/work");
                QDir().mkpath(folder);
                return;
            }
            notOwnMountBecause = QString::fromLocal8Bit(std::strerror(errno));
        }
        shared_.emplace(QStringLiteral("/dev/shm/velmora-other-XXXXXX"));
        if (!shared_->isValid() || deviceOf(shared_->path()) == deviceOf(trashHome)) {
            skipReason = QStringLiteral("no second file system: a tmpfs cannot be mounted (") +
                         notOwnMountBecause + QStringLiteral(") and /dev/shm is not another one");
            return;
        }
        folder = QFileInfo(shared_->path()).canonicalFilePath();
        top = topOf(folder);
        if (::access(QFile::encodeName(top).constData(), W_OK | X_OK) != 0)
            skipReason = QStringLiteral("a tmpfs cannot be mounted (") + notOwnMountBecause +
                         QStringLiteral(") and the top of /dev/shm's file system, ") + top +
                         QStringLiteral(", cannot be written to make a trash in");
    }

    ~OtherFileSystem() {
        if (mounted_)
            ::umount2(QFile::encodeName(mountPoint_.path()).constData(), MNT_DETACH);
    }

    OtherFileSystem(const OtherFileSystem&) = delete;
    OtherFileSystem& operator=(const OtherFileSystem&) = delete;

    // True when the whole file system is the test's own, so its top may be changed.
    bool isOwnMount() const { return mounted_; }

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
    std::optional<QTemporaryDir> shared_;
    bool mounted_ = false;
};

} // namespace velmora::testing
