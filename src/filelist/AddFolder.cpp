#include "AddFolder.h"

#include "ErrorTrap.h"
#include "FolderWalk.h"
#include "Yield.h"

#include <QStringList>

namespace velmora {

namespace {

const QString extensionPrompt =
    QStringLiteral("Enter file extension to load:\r\r(* for all files, txt for all txt files, "
                   "doc for all doc files, etc.)");
const QString folderPrompt = QStringLiteral("Please select folder:");
const QString extensionKey = QStringLiteral("Extension");
const QString lastFolderKey = QStringLiteral("LastFolder");

} // namespace

QString AskForFolder(FolderBrowser& browser, const QString& prompt, const QString& startFolder) {
    return browser.askForFolder(prompt, startFolder);
}

void PushButton3_Click(MessageBoxes& messages, FolderBrowser& browser, SettingsStore& settings,
                       WindowPointer& pointer, FileList& list, PathStyle style,
                       std::stop_token stop) {
    ErrorTrap trap(messages, QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"));

    QString extension;
    trap.step(100, [&] {
        extension =
            messages.prompt(extensionPrompt, settings.read(extensionKey, QStringLiteral("*")));
    });
    if (extension.isEmpty())
        return;
    // Kept even if the folder browser is cancelled next: the user typed it on purpose.
    trap.step(104, [&] { settings.write(extensionKey, extension); });

    QString folder;
    trap.step(106, [&] {
        folder = AskForFolder(browser, folderPrompt, settings.read(lastFolderKey, QString()));
    });
    if (folder.isEmpty())
        return;
    trap.step(333, [&] { settings.write(lastFolderKey, folder); });

    trap.step(110, [&] { pointer.setBusy(); });
    ErrorTrap walkTrap(messages, QStringLiteral("AddFolder"),
                       QStringLiteral("GetSubDirectories2016"),
                       QString::fromLatin1(ErrorTrap::folderWalkPrefix));
    FolderWalkHooks hooks;
    hooks.yield = yieldToWindowSystem;
    hooks.stop = stop;
    hooks.reportFailure = [&walkTrap](const QString& description, int step) {
        walkTrap.report(description, step);
    };
    QStringList paths;
    trap.step(114, [&] {
        paths = filesInFolderTree(folder, QStringLiteral("*.") + extension, style, hooks);
    });
    // One insertion for the whole tree, so the list view is not told of each file.
    // A walk cut short by the window closing holds part of a tree; nobody will see it.
    if (!stop.stop_requested())
        trap.step(128, [&] { list.addMany(paths); });
    trap.step(132, [&] { pointer.setDefault(); });
}

} // namespace velmora
