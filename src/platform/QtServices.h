#pragma once

#include "QtDesktop.h"
#include "QtFileDialogs.h"
#include "QtMessageBoxes.h"
#include "Services.h"

namespace velmora {

// The real desktop facilities, owned in one place for the life of the program.
class QtServices {
public:
    explicit QtServices(QString applicationFolder)
        : services_{messages_,  fileDialogs_, folderBrowser_,
                    clipboard_, shell_,       std::move(applicationFolder)} {}
    QtServices(const QtServices&) = delete;
    QtServices& operator=(const QtServices&) = delete;

    Services& services() { return services_; }

private:
    QtMessageBoxes messages_;
    QtFileDialogs fileDialogs_;
    QtFolderBrowser folderBrowser_;
    QtClipboard clipboard_;
    QtDesktopShell shell_;
    Services services_;
};

} // namespace velmora
