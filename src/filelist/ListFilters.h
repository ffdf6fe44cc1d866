#pragma once

#include "FileList.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace velmora {

// The positions (ascending, 1-based) of the paths that contain the text, or that do not.
// Both sides are lower-cased and the text is then found as a plain substring of the whole
// path, folders included: "*", "?" and the separators are ordinary characters, and blanks
// around the text are part of it.
std::vector<int> positionsContaining(const QStringList& paths, const QString& text);
std::vector<int> positionsNotContaining(const QStringList& paths, const QString& text);

// The two list filters: the positions are collected first and then removed together.
void RemoveEntriesContaining(FileList& list, const QString& text);
void RemoveEntriesNotContaining(FileList& list, const QString& text);

} // namespace velmora
