#pragma once

#include "ColumnList.h"
#include "ResultsList.h"

#include <QStringList>

namespace velmora {

// Lets the text writers read the results list: column 0 is a row's path, and the list has
// no sub-items, so any later column reads as empty.
class ResultsListColumns : public ColumnList {
public:
    explicit ResultsListColumns(const ResultsList& list)
        : list_(list), headers_(list.ColumnHeaders()) {}

    int columnCount() const override { return static_cast<int>(headers_.size()); }
    QString headerText(int column) const override { return headers_.value(column); }
    int rowCount() const override { return list_.Count(); }
    QString field(int row, int column) const override;
    bool checked(int row) const override;

private:
    const ResultsList& list_;
    QStringList headers_;
};

} // namespace velmora
