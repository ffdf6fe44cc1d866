#pragma once

#include <QByteArray>

namespace velmora::testing {

// Removes a folder and everything below it by the bytes of their names, which Qt's own
// removal cannot name when they are not valid UTF-8; folders a test closed are opened
// again first. True when nothing is left.
bool removeTreeByBytes(const QByteArray& folder);

} // namespace velmora::testing
