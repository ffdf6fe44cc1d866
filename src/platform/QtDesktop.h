#pragma once

#include "Clipboard.h"
#include "DesktopShell.h"

namespace velmora {

class QtClipboard : public Clipboard {
public:
    bool clear() override;
    bool setText(const QString& text) override;
};

// The freedesktop.org trash stands in for the recycle bin. A file that cannot be moved
// there stays where it is: nothing is ever deleted outright.
class QtDesktopShell : public DesktopShell {
public:
    std::vector<RecycleOutcome> recycle(const QStringList& paths) override;
    void openFolder(const QString& folder) override;
};

} // namespace velmora
