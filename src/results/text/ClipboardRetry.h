#pragma once

#include "Clipboard.h"
#include "ColumnList.h"

#include <QString>

namespace velmora {

// Another program may hold the clipboard for a moment: each operation is tried up to
// this many times in a row, without pausing, until one attempt succeeds.
inline constexpr int kClipboardAttempts = 1000;

// Empties the clipboard; gives up silently after the last failed attempt.
void ClearClipboard(Clipboard& clipboard);

// Puts plain text on the clipboard. False when every attempt failed.
bool SetClipboardText(Clipboard& clipboard, const QString& text);

// Replaces the clipboard's content with the list's rows (see clipboardText). A list
// without rows leaves the clipboard alone. Whether the text arrived is not reported:
// the user is told to paste either way.
void CopyListviewToClipboard(const ColumnList& list, Clipboard& clipboard);

} // namespace velmora
