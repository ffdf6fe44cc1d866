#include "KeyGroups.h"

#include <QHash>

namespace velmora {

KeyGroups groupEqualTexts(const std::vector<QStringView>& texts) {
    KeyGroups groups;
    groups.groupOf.resize(texts.size());
    QHash<QStringView, int> groupOfText;
    groupOfText.reserve(static_cast<qsizetype>(texts.size()));
    for (size_t index = 0; index < texts.size(); ++index) {
        auto found = groupOfText.constFind(texts[index]);
        if (found == groupOfText.constEnd())
            found = groupOfText.insert(texts[index], groups.groupCount++);
        groups.groupOf[index] = found.value();
    }
    return groups;
}

} // namespace velmora
