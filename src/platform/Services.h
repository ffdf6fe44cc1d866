#pragma once

#include "Clipboard.h"
#include "DesktopShell.h"
#include "FileDialogs.h"
#include "MessageBoxes.h"

#include <QString>

namespace velmora {

// What the windows need of the desktop, gathered so a test can hand in fakes for the
// modal dialogs and desktop services while the file system and settings stay real.
struct Services {
    MessageBoxes& messages;
    FileDialogs& fileDialogs;
    FolderBrowser& folderBrowser;
    Clipboard& clipboard;
    DesktopShell& shell;
    QString applicationFolder; // holds HAND-M.CUR, drag.ico, x/o.cjs and Samples/
};

} // namespace velmora
