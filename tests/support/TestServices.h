#pragma once

#include "FakeClipboard.h"
#include "FakeDesktopShell.h"
#include "FakeFileDialogs.h"
#include "FakeMessageBoxes.h"
#include "Services.h"

#include <QString>

namespace velmora::testing {

// The fakes a window test hands in, bundled; the application folder defaults to the
// build's program folder, where the support files are.
class TestServices {
public:
    explicit TestServices(QString applicationFolder = QStringLiteral(VELMORA_SUPPORT_FILES_DIR))
        : services_{messages,  fileDialogs, folderBrowser,
                    clipboard, shell,       std::move(applicationFolder)} {}
    TestServices(const TestServices&) = delete;
    TestServices& operator=(const TestServices&) = delete;

    Services& services() { return services_; }

    FakeMessageBoxes messages;
    FakeFileDialogs fileDialogs;
    FakeFolderBrowser folderBrowser;
    FakeClipboard clipboard;
    FakeDesktopShell shell;

private:
    Services services_;
};

} // namespace velmora::testing
