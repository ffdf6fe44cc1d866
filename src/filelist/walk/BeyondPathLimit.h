#pragma once

#include "LoadRules.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace velmora {

class WalkPacing;

// What loading would have taken below a folder whose path is too long to open: each file
// the pattern takes is told with its full path and why it is left out (PathTooLong, or
// NotAFile). `folder` is a path the system can open, without a trailing separator, and
// `subfolder` the name of one of its real subfolders. The tree is walked through folder
// descriptors, holding two at a time however deep it goes, until the pacing says stop.
void walkBeyondPathLimit(
    const QByteArray& folder, const QByteArray& subfolder, const QString& pattern,
    WalkPacing& pacing,
    const std::function<void(LoadRules::Verdict why, const QByteArray& nativePath)>& tell);

} // namespace velmora
