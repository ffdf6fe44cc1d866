#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace velmora::testing {

// A real folder tree in a temporary folder, built from paths relative to its root.
class TemporaryTree {
public:
    TemporaryTree() { EXPECT_TRUE(root_.isValid()); }
    // Qt cannot name what is not valid UTF-8 or lies beyond the path limit.
    ~TemporaryTree() {
        if (!root_.isValid() || QDir(root()).removeRecursively())
            return;
        EXPECT_EQ(
            QProcess::execute(QStringLiteral("sh"),
                              {QStringLiteral("-c"),
                               QStringLiteral("chmod -R u+rwx \"$0\"; rm -rf \"$0\""), root()}),
            0);
    }

    QString root() const { return root_.path(); }
    QString path(const QString& relative) const { return root_.filePath(relative); }

    // Creates the file with a few bytes, and its folders.
    QString file(const QString& relative) {
        const QString full = path(relative);
        EXPECT_TRUE(QDir().mkpath(QFileInfo(full).path())) << full.toStdString();
        QFile file(full);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << full.toStdString();
        file.write("x");
        return full;
    }

    QString folder(const QString& relative) {
        const QString full = path(relative);
        EXPECT_TRUE(QDir().mkpath(full)) << full.toStdString();
        return full;
    }

    // A symbolic link at `relative` pointing at `target` (taken as it is).
    QString link(const QString& relative, const QString& target) {
        const QString full = path(relative);
        EXPECT_EQ(
            symlink(QFile::encodeName(target).constData(), QFile::encodeName(full).constData()), 0)
            << full.toStdString();
        return full;
    }

    void setMode(const QString& relative, mode_t mode) {
        EXPECT_EQ(chmod(QFile::encodeName(path(relative)).constData(), mode), 0)
            << relative.toStdString();
    }

private:
    QTemporaryDir root_;
};

} // namespace velmora::testing
