#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cerrno>
#include <cstring>

#include <sys/mount.h>

namespace velmora::testing {

// A mount for as long as it lives, where this process may mount; failure() says why not.
class Mount {
public:
    Mount(const QString& source, const QString& target, const char* type, unsigned long flags,
          const char* options = nullptr)
        : target_(QFile::encodeName(target)) {
        if (::mount(QFile::encodeName(source).constData(), target_.constData(), type, flags,
                    options) != 0)
            failure_ = QString::fromLocal8Bit(std::strerror(errno));
    }
    ~Mount() {
        if (failure_.isEmpty())
            ::umount2(target_.constData(), MNT_DETACH);
    }
    Mount(const Mount&) = delete;
    Mount& operator=(const Mount&) = delete;
    const QString& failure() const { return failure_; }

private:
    QByteArray target_;
    QString failure_;
};

} // namespace velmora::testing
