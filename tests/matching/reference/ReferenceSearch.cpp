#include "ReferenceSearch.h"

#include <QSet>

namespace velmora::reference {

namespace {

QString GetFileNameFromPath(const QString& path, PathStyle style) {
    const QChar separator(separatorOf(style));
    int lastSeparator = 0;
    for (int position = 1; position <= path.size(); ++position)
        if (path.at(position - 1) == separator)
            lastSeparator = position;
    return lastSeparator == 0 ? path : path.mid(lastSeparator);
}

QString RemoveFileExtension(const QString& name) {
    if (name.isEmpty())
        return QString();
    int p = 0;
    for (int position = 1; position <= name.size(); ++position)
        if (name.at(position - 1) == u'.')
            p = position;
    if (p >= 2)
        return name.left(p - 1);
    return name;
}

// 1-based position of the first case-insensitive occurrence, 0 when there is none.
int InStr(const QString& key, const QString& text) {
    return static_cast<int>(key.indexOf(text, 0, Qt::CaseInsensitive)) + 1;
}

} // namespace

MatchStage FirstMatchingStage(const QString& a, const QString& b, const SearchOptions& options,
                              PathStyle style) {
    MatchStage result = MatchStage::None;
    auto matchedAt = [&](MatchStage stage) {
        if (result == MatchStage::None)
            result = stage;
    };
    if (a == b)
        matchedAt(MatchStage::Path);
    QString keyA = GetFileNameFromPath(a, style);
    QString keyB = GetFileNameFromPath(b, style);
    if (options.Check3 == 1) {
        keyA = RemoveFileExtension(keyA);
        keyB = RemoveFileExtension(keyB);
        if (keyA == keyB)
            matchedAt(MatchStage::Extension);
    }
    if (options.Check1 == 1 && options.Text1 != QString()) {
        const int pA = InStr(keyA, options.Text1);
        const int pB = InStr(keyB, options.Text1);
        if (pA > 0)
            keyA = keyA.left(pA);
        if (pB > 0)
            keyB = keyB.left(pB);
        if (keyA == keyB)
            matchedAt(MatchStage::Before);
    }
    if (options.Check2 == 1 && options.Text2 != QString()) {
        const int pA = InStr(keyA, options.Text2);
        const int pB = InStr(keyB, options.Text2);
        const int length = static_cast<int>(options.Text2.size());
        if (pA > 0)
            keyA = keyA.mid(pA + length - 1);
        if (pB > 0)
            keyB = keyB.mid(pB + length - 1);
        if (keyA == keyB)
            matchedAt(MatchStage::After);
    }
    return result;
}

bool MatchByOptions(const QString& a, const QString& b, const SearchOptions& options,
                    PathStyle style) {
    return FirstMatchingStage(a, b, options, style) != MatchStage::None;
}

std::vector<ResultRow> findDuplicates(const QStringList& fileList, const SearchOptions& options,
                                      PathStyle style, const RatioFunction& ratio,
                                      const EntryFunction& entryOf) {
    std::vector<ResultRow> results;
    std::vector<int> removals;
    QSet<QString> matchedAnotherPath;
    const bool optionMode = options.Check1 == 1 || options.Check2 == 1 || options.Check3 == 1;
    const int count = static_cast<int>(fileList.size());
    auto addPair = [&](const QString& a, const QString& b, double pairRatio, MatchStage stage) {
        results.push_back({a, false, b, pairRatio, stage});
        results.push_back({b, false, a, pairRatio, stage});
        results.back().checked = true;
        if (entryOf ? entryOf(a) != entryOf(b) : a != b) {
            matchedAnotherPath.insert(a);
            matchedAnotherPath.insert(b);
        }
    };
    for (int i = 1; i <= count; ++i) {
        const QString a = fileList.at(i - 1);
        for (int j = i + 1; j <= count; ++j) {
            const QString b = fileList.at(j - 1);
            bool matched = false;
            double pairRatio = -1;
            MatchStage stage = MatchStage::None;
            if (optionMode) {
                stage = FirstMatchingStage(a, b, options, style);
                matched = stage != MatchStage::None;
            } else {
                const QString nameA = GetFileNameFromPath(a, style);
                const QString nameB = GetFileNameFromPath(b, style);
                if (nameB == nameA)
                    matched = true;
                pairRatio = ratio(nameA, nameB);
                const double score = pairRatio * 100;
                if (score > 60 && b != a)
                    matched = true;
            }
            if (matched)
                addPair(a, b, pairRatio, stage);
        }
    }
    const int rowCount = static_cast<int>(results.size());
    for (int r = 1; r <= rowCount; ++r) {
        const QString t = results[static_cast<size_t>(r - 1)].path;
        for (int s = r + 1; s <= rowCount; ++s) {
            if (results[static_cast<size_t>(s - 1)].path == t) {
                removals.push_back(r);
                break;
            }
        }
    }
    for (auto removal = removals.rbegin(); removal != removals.rend(); ++removal)
        results.erase(results.begin() + (*removal - 1));
    for (ResultRow& row : results)
        if (!matchedAnotherPath.contains(row.path))
            row.checked = false;
    return results;
}

} // namespace velmora::reference
