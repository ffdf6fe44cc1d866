#pragma once

#include "FileDialogs.h"
#include "FileList.h"
#include "MessageBoxes.h"
#include "PathStyle.h"

#include <QString>

namespace velmora {

// True when the path's attribute bits cannot be read: it does not exist or may not be
// examined.
bool AttributesUnreadable(const QString& path);

// "Add File(s)": the files picked in the multi-select dialog are appended in the order the
// dialog gives them; a file that cannot be examined is refused with a message naming it,
// and a selection too large for the dialog is refused as a whole.
void PushButton1_Click(FileDialogs& dialogs, MessageBoxes& messages, FileList& list,
                       PathStyle style);

} // namespace velmora
