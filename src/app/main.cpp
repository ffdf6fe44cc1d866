#include "FileSystem.h"
#include "GraphicalDesktop.h"
#include "MemoryTuning.h"
#include "Program.h"
#include "QtServices.h"
#include "SettingsStore.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    if (!velmora::hasGraphicalDesktop([](const char* name) { return qgetenv(name); })) {
        std::fprintf(stderr, "%s\n", velmora::noDesktopMessage);
        return 1;
    }
    velmora::tuneMemoryForLargeLists();
    QApplication application(argc, argv);
    velmora::QtServices services(velmora::applicationFolder());
    velmora::SettingsStore settings;
    // Closing the main window ends the program at once, whatever else is open.
    velmora::Program program(services.services(), settings, [] { QCoreApplication::exit(0); });
    program.show();
    // Taken in once the window is up: a large folder's walk shows its progress there.
    if (const QStringList paths = application.arguments().mid(1); !paths.isEmpty()) {
        QMetaObject::invokeMethod(
            &application, [&program, paths] { program.openPaths(paths); }, Qt::QueuedConnection);
    }
    return application.exec();
}
