#include "KeyGroups.h"

#include <QHash>

namespace velmora {

KeyGroups groupEqualTexts(const std::vector<QStringView>& texts) {
    return groupEqualTexts(texts, texts.size() + 1, [](size_t) { return true; });
}

KeyGroups groupEqualTexts(const std::vector<QStringView>& texts, size_t step,
                          const std::function<bool(size_t moreGrouped)>& grouped) {
    KeyGroups groups;
    groups.groupOf.resize(texts.size());
    QHash<QStringView, int> groupOfText;
    groupOfText.reserve(static_cast<qsizetype>(texts.size()));
    for (size_t index = 0; index < texts.size(); ++index) {
        auto found = groupOfText.constFind(texts[index]);
        if (found == groupOfText.constEnd())
            found = groupOfText.insert(texts[index], groups.groupCount++);
        groups.groupOf[index] = found.value();
        if ((index + 1) % step == 0 && !grouped(step))
            return groups;
    }
    grouped(texts.size() % step);
    return groups;
}

} // namespace velmora
