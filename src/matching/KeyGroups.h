#pragma once

#include <QStringView>

#include <vector>

namespace velmora {

// Numbers equal texts alike (exact comparison), in order of first appearance.
struct KeyGroups {
    std::vector<int> groupOf; // per text
    int groupCount = 0;
};

KeyGroups groupEqualTexts(const std::vector<QStringView>& texts);

} // namespace velmora
