#pragma once

#include <QStringView>

#include <functional>
#include <vector>

namespace velmora {

// Numbers equal texts alike (exact comparison), in order of first appearance.
struct KeyGroups {
    std::vector<int> groupOf; // per text
    int groupCount = 0;
};

KeyGroups groupEqualTexts(const std::vector<QStringView>& texts);

// The same, telling `grouped` how many more texts it has grouped after every `step` of
// them and at the end. When `grouped` answers false the grouping ends early, and what it
// returns is of no use.
KeyGroups groupEqualTexts(const std::vector<QStringView>& texts, size_t step,
                          const std::function<bool(size_t moreGrouped)>& grouped);

} // namespace velmora
