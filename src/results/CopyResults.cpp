#include "CopyResults.h"

#include "ClipboardRetry.h"
#include "ErrorTrap.h"
#include "ResultsListColumns.h"

namespace velmora {

QString copiedToClipboardText() {
    return QStringLiteral("Results have been copied to the clipboard.\r\rClick a text area where "
                          "you normally type and press Ctrl+V to paste the clipboard.");
}

void CopyResultsToClipboard(const ResultsList& list, Clipboard& clipboard, MessageBoxes& messages,
                            WindowPointer& pointer) {
    ErrorTrap trap(messages, QStringLiteral("Form2"), QStringLiteral("PushButton18_Click"));
    trap.step(100, [&] { pointer.setBusy(); });
    trap.step(102, [&] { CopyListviewToClipboard(ResultsListColumns(list), clipboard); });
    trap.step(104, [&] { messages.show(copiedToClipboardText()); });
    trap.step(106, [&] { pointer.setDefault(); });
}

} // namespace velmora
