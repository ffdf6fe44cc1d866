#pragma once

#include "DesktopShell.h"
#include "FileList.h"
#include "MessageBoxes.h"

#include <QString>

namespace velmora {

// "Load Sample/Example Files": appends every file that can be opened in Samples, Samples/1
// and Samples/2 of the application folder, in that order, hidden ones and names starting
// with "~" included, each joined to its folder exactly as built; then offers to show the
// sample folder in the file manager, whether or not any file was found.
void PushButton4_Click(MessageBoxes& messages, DesktopShell& shell, FileList& list,
                       const QString& applicationFolder);

} // namespace velmora
