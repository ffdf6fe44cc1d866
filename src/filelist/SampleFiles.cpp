#include "SampleFiles.h"

#include "ErrorTrap.h"
#include "FileSystem.h"

namespace velmora {

namespace {

const QString openFolderQuestion = QStringLiteral(
    "Would you like this software to open the folder where these sample files are stored (so "
    "that you can view them before working with them)?");

// Every openable file of one sample folder, as entries of the list. The folder need not
// exist: a missing sample folder simply adds nothing.
QStringList filesOfSampleFolder(const QString& folder) {
    const QString prefix = folder + QLatin1Char('/');
    QStringList paths;
    for (const QString& name : listFiles(folder, QStringLiteral("*.*"))) {
        const QString path = prefix + name;
        if (canOpenFile(path))
            paths << path;
    }
    return paths;
}

// Loaded in this order, each relative to the application folder.
const QStringList sampleFolders = {QStringLiteral("Samples"), QStringLiteral("Samples/1"),
                                   QStringLiteral("Samples/2")};

} // namespace

void PushButton4_Click(MessageBoxes& messages, DesktopShell& shell, FileList& list,
                       const QString& applicationFolder) {
    ErrorTrap trap(messages, QStringLiteral("Form1"), QStringLiteral("PushButton4_Click"));

    // Each folder reaches the list in one insertion, and one folder's failure does not keep
    // the next folder's files out.
    int step = 100;
    for (const QString& folder : sampleFolders) {
        QStringList paths;
        trap.step(step, [&] {
            paths = filesOfSampleFolder(applicationFolder + QLatin1Char('/') + folder);
        });
        trap.step(step + 2, [&] { list.addMany(paths); });
        step += 6;
    }

    bool openFolder = false;
    trap.step(118, [&] {
        openFolder = messages.show(openFolderQuestion, MessageBoxes::Buttons::YesNo) ==
                     MessageBoxes::Answer::Yes;
    });
    if (!openFolder)
        return;
    trap.step(120, [&] { shell.openFolder(applicationFolder + QStringLiteral("/Samples/")); });
}

} // namespace velmora
