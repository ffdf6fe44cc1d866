#pragma once

#include "Clipboard.h"
#include "MessageBoxes.h"
#include "ResultsList.h"
#include "WindowPointer.h"

#include <QString>

namespace velmora {

// The confirmation, shown whether or not anything reached the clipboard.
QString copiedToClipboardText();

// "Copy Results To Clipboard": every row, ticked or not, one path a line. An empty list
// leaves the clipboard as it was; the confirmation is shown all the same, under the
// hourglass, which goes once the user has closed it.
void CopyResultsToClipboard(const ResultsList& list, Clipboard& clipboard, MessageBoxes& messages,
                            WindowPointer& pointer);

} // namespace velmora
