#pragma once

#include <QAccessible>
#include <QModelIndex>

namespace velmora {

class FileListView;

// Screen readers meet the file list as a table of one column, the paths under their
// "File(s)" header: the second column is collapsed on screen and never holds anything, so
// hearing it would only be noise. The children are the header cell while the header shows,
// then one cell per entry. Installed once, by the first list made.
void installAccessibleFileList();

// Tells screen readers that an entry became current, selected or unselected, naming the
// entry's cell by the child number the table above gives it.
void announceEntry(FileListView& view, QAccessible::Event kind, const QModelIndex& entry);

} // namespace velmora
