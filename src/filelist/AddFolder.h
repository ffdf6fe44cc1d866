#pragma once

#include "FileDialogs.h"
#include "FileList.h"
#include "MessageBoxes.h"
#include "PathStyle.h"
#include "SettingsStore.h"
#include "WindowPointer.h"

#include <QString>

#include <stop_token>

namespace velmora {

// The folder browser as the commands use it: the chosen folder, or "" on Cancel.
QString AskForFolder(FolderBrowser& browser, const QString& prompt, const QString& startFolder);

// "Add All File(s) In Folder": asks for an extension and a folder, then appends every
// file of that extension in the folder tree, breadth-first. Both answers are remembered
// for next time; the extension as soon as it is given. A stop request (the window
// closing) ends the walk at once, and nothing is added.
void PushButton3_Click(MessageBoxes& messages, FolderBrowser& browser, SettingsStore& settings,
                       WindowPointer& pointer, FileList& list, PathStyle style,
                       std::stop_token stop = {});

} // namespace velmora
