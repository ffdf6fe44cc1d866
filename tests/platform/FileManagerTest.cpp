#include "QStringPrinter.h"
#include "QtDesktop.h"
#include "TemporaryTree.h"

#include <QDBusConnection>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Stands in for the desktop: what it is asked to open, and a file manager on the bus.
class DesktopRecorder : public QObject {
    Q_OBJECT

public slots:
    void openUrl(const QUrl& url) { opened << url.toLocalFile(); }
    void ShowItems(const QStringList& uris, const QString&) { shown << uris; }

public:
    QStringList opened;
    QStringList shown;
};

TEST(FileManager, ShowInFolderAsksTheFileManagerAndElseOpensTheFolder) {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed";
    QProcess bus;
    bus.start(daemon, {"--session", "--nofork", "--print-address"});
    ASSERT_TRUE(bus.waitForReadyRead(5000));
    const QString address = QString::fromUtf8(bus.readLine().trimmed());
    // A bus of its own, set before anything in this program opens the session bus.
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());

    DesktopRecorder desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &desktop, "openUrl");
    testing::TemporaryTree tree;
    const QString file = tree.file("a folder/a file.txt");
    QtDesktopShell shell;

    EXPECT_TRUE(shell.openFile(file));
    EXPECT_EQ(desktop.opened, QStringList{file});

    desktop.opened.clear();
    shell.showInFolder(file); // nobody on this bus answers for a file manager
    EXPECT_TRUE(QTest::qWaitFor([&] { return !desktop.opened.isEmpty(); }, 5000));
    EXPECT_EQ(desktop.opened, QStringList{tree.path("a folder")});

    const QString fileManagerName = QStringLiteral("file manager");
    {
        QDBusConnection fileManager = QDBusConnection::connectToBus(address, fileManagerName);
        ASSERT_TRUE(fileManager.registerObject("/org/freedesktop/FileManager1",
                                               "org.freedesktop.FileManager1", &desktop,
                                               QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(fileManager.registerService("org.freedesktop.FileManager1"));
        desktop.opened.clear();
        shell.showInFolder(file);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !desktop.shown.isEmpty(); }, 5000));
        EXPECT_EQ(desktop.shown, QStringList{"file://" + QUrl::toPercentEncoding(file, "/")});
        QTest::qWait(200); // the answer's way back, where a wrong fallback would happen
        EXPECT_TRUE(desktop.opened.isEmpty());
    }
    QDBusConnection::disconnectFromBus(fileManagerName);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    bus.kill();
    bus.waitForFinished();
}

} // namespace
} // namespace velmora

#include "FileManagerTest.moc"
