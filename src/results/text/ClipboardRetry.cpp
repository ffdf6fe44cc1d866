#include "ClipboardRetry.h"

#include "ClipboardText.h"

namespace velmora {

namespace {

// A failing attempt may also throw; that is absorbed like any other failed attempt.
template <typename Attempt> bool retried(Attempt attempt) {
    for (int tries = 0; tries < kClipboardAttempts; ++tries) {
        try {
            if (attempt())
                return true;
        } catch (...) {
        }
    }
    return false;
}

} // namespace

void ClearClipboard(Clipboard& clipboard) {
    retried([&] { return clipboard.clear(); });
}

bool SetClipboardText(Clipboard& clipboard, const QString& text) {
    return retried([&] { return clipboard.setText(text); });
}

void CopyListviewToClipboard(const ColumnList& list, Clipboard& clipboard) {
    if (list.rowCount() <= 0)
        return;
    const QString text = clipboardText(list);
    ClearClipboard(clipboard);
    SetClipboardText(clipboard, text);
}

} // namespace velmora
