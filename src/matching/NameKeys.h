#pragma once

#include "PathStyle.h"
#include "SearchOptions.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace velmora {

// The text after the last separator of the path; the whole path when it has none, the
// empty string when it ends in one. Only the style's separator separates.
QString GetFileNameFromPath(const QString& path, PathStyle style);
// The name without its last dot and what follows it, unless that dot is the first
// character (".profile" keeps its dot; "..txt" gives ".").
QString RemoveFileExtension(const QString& name);
// Whether the earlier path A and the later path B are partial duplicates under the
// options: equal paths, or equal keys at any enabled stage.
bool MatchByOptions(const QString& a, const QString& b, const SearchOptions& options,
                    PathStyle style);

// The same reductions on views: every key is a piece of its path, so a search over many
// paths can compare keys without building a string per entry.
QStringView fileNameView(QStringView path, PathStyle style);
QStringView withoutExtensionView(QStringView name);

// The stages that change and compare keys, in the order they run. Each works on the key
// the previous one left.
enum class KeyStage { Extension, Before, After };
std::vector<KeyStage> enabledKeyStages(const SearchOptions& options);
QStringView applyKeyStage(KeyStage stage, QStringView key, const SearchOptions& options);

} // namespace velmora
