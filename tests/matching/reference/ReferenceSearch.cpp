#include "ReferenceSearch.h"

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

bool MatchByOptions(const QString& a, const QString& b, const SearchOptions& options,
                    PathStyle style) {
    bool result = false;
    if (a == b)
        result = true;
    QString keyA = GetFileNameFromPath(a, style);
    QString keyB = GetFileNameFromPath(b, style);
    if (options.Check3 == 1) {
        keyA = RemoveFileExtension(keyA);
        keyB = RemoveFileExtension(keyB);
        if (keyA == keyB)
            result = true;
    }
    if (options.Check1 == 1 && options.Text1 != QString()) {
        const int pA = InStr(keyA, options.Text1);
        const int pB = InStr(keyB, options.Text1);
        if (pA > 0)
            keyA = keyA.left(pA);
        if (pB > 0)
            keyB = keyB.left(pB);
        if (keyA == keyB)
            result = true;
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
            result = true;
    }
    return result;
}

std::vector<ResultRow> findDuplicates(const QStringList& fileList, const SearchOptions& options,
                                      PathStyle style, const RatioFunction& ratio) {
    std::vector<ResultRow> results;
    std::vector<int> removals;
    const bool optionMode = options.Check1 == 1 || options.Check2 == 1 || options.Check3 == 1;
    const int count = static_cast<int>(fileList.size());
    auto addPair = [&](const QString& a, const QString& b) {
        results.push_back({a, false});
        results.push_back({b, false});
        results.back().checked = true;
    };
    for (int i = 1; i <= count; ++i) {
        const QString a = fileList.at(i - 1);
        for (int j = i + 1; j <= count; ++j) {
            const QString b = fileList.at(j - 1);
            bool matched = false;
            if (optionMode) {
                matched = MatchByOptions(a, b, options, style);
            } else {
                const QString nameA = GetFileNameFromPath(a, style);
                const QString nameB = GetFileNameFromPath(b, style);
                if (nameB == nameA)
                    matched = true;
                const double score = ratio(nameA, nameB) * 100;
                if (score > 60 && b != a)
                    matched = true;
            }
            if (matched)
                addPair(a, b);
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
    return results;
}

} // namespace velmora::reference
