#include "GraphicalDesktop.h"

namespace velmora {

bool hasGraphicalDesktop(const std::function<QByteArray(const char*)>& environment) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!environment(name).isEmpty())
            return true;
    }
    return false;
}

} // namespace velmora
