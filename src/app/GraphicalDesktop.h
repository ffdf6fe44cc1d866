#pragma once

#include <QByteArray>

#include <functional>

namespace velmora {

// Told before the toolkit starts, which would otherwise abort with a message about
// platform plugins that means little to a user.
inline constexpr const char* noDesktopMessage =
    "velmora needs a graphical desktop: DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are all "
    "unset.";

// True when a display server is named or the toolkit is told which platform to use.
bool hasGraphicalDesktop(const std::function<QByteArray(const char*)>& environment);

} // namespace velmora
