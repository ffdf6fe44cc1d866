#pragma once

#include "ColumnList.h"
#include "DuplicateSearch.h"

#include <vector>

namespace velmora {

// The rows of a search as the results list shows them: one column "File(s)".
class ResultRowsList : public ColumnList {
public:
    explicit ResultRowsList(const std::vector<ResultRow>& rows) : rows_(rows) {}

    int columnCount() const override { return 1; }
    QString headerText(int) const override { return QStringLiteral("File(s)"); }
    int rowCount() const override { return static_cast<int>(rows_.size()); }
    QString field(int row, int) const override { return rows_[static_cast<std::size_t>(row)].path; }
    bool checked(int row) const override { return rows_[static_cast<std::size_t>(row)].checked; }

private:
    const std::vector<ResultRow>& rows_;
};

} // namespace velmora
