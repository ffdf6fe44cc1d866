#pragma once

#include "DesktopShell.h"
#include "MessageBoxes.h"
#include "ResultsList.h"
#include "TrashUndo.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace velmora {

// The ticked rows, collected from the last row to the first: element 0 is the ticked row
// lowest on screen, and the positions (1-based) descend. The paths of the unticked rows
// come along: a file one of them shows under another path must stay.
struct TickedRows {
    QStringList paths;
    std::vector<int> positions;
    QStringList untickedPaths;
    // What the contents check knew of the ticked rows, when one ran for them. A row not
    // decided yet is never taken for a copy.
    bool contentsCompared = false;
    int copies = 0;
    QStringList notCopies; // collected bottom up like the paths
    int notComparable = 0;
    int notComparedYet = 0;
    bool empty() const { return paths.isEmpty(); }
};
TickedRows collectTickedRows(const ResultsList& list);

// The question asked before anything is moved; it names the first few files in list order
// and, when the contents were compared, how many are copies of the file they matched and
// which are not.
QString trashConfirmationText(const TickedRows& ticked);

// The one message for the files that stayed where they were, each with its reason, and
// for the files that had gone before the trash reached them (those whose outcome is gone).
QString trashFailureText(const std::vector<RecycleOutcome>& reported);

// "Send To Recycle Bin": after a confirmation, every ticked file goes to the trash. Each
// collected row leaves the list exactly when its file is no longer present; the rows of
// files that stayed remain, ticked, and one message says which and why, naming also the
// files that were no longer there to move. What was moved
// is remembered for undo. Runs under the error trap of the results window's handler.
void SendTickedFilesToTrash(ResultsList& list, MessageBoxes& messages, DesktopShell& shell,
                            TrashUndo& undo);

} // namespace velmora
