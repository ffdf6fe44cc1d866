#pragma once

#include "FileList.h"
#include "FolderWalk.h"
#include "MessageBoxes.h"
#include "PathStyle.h"

#include <QString>
#include <QStringList>
#include <Qt>

#include <optional>

class QMimeData;

namespace velmora {

// The local files and folders a drag carries (a file manager's list of file addresses),
// in the order the source gave them. Empty when it carries none, plain text and web
// addresses for instance: such a drag is refused.
QStringList droppedLocalPaths(const QMimeData& data);

// The action a drop onto the list is taken with, or none when it must be refused. The
// list only records paths, so it asks for a copy (or a link) even where the source
// proposes a move: a source told that its files were moved may delete them.
std::optional<Qt::DropAction> dropActionFor(Qt::DropActions possible);

// Appends what was dropped, in drop order: a folder brings every file of its tree, of any
// extension, breadth-first and by the rules of loading a folder; anything else is
// appended exactly as dropped, with no test. A path that cannot be examined at all (it
// has vanished, or lies where we may not look) is skipped and the rest of the drop goes
// on. The stored extension and last folder are neither read nor written.
void ListView1_OLEDragDrop(const QStringList& droppedPaths, FileList& list, PathStyle style,
                           const FolderWalkHooks& hooks);

// What a walk started by a drop needs: it yields to the window system, reports its own
// failures with the folder walk's error message, and ends when a stop is requested.
FolderWalkHooks dropWalkHooks(MessageBoxes& messages, std::stop_token stop = {});

} // namespace velmora
