#pragma once

#include <QString>

namespace velmora {

// Any list with column headers and tickable rows, as the writers see it. Rows and
// columns count from 0; column 0 is the row's own text, later columns its sub-items.
class ColumnList {
public:
    virtual ~ColumnList() = default;
    virtual int columnCount() const = 0;
    virtual QString headerText(int column) const = 0;
    virtual int rowCount() const = 0;
    virtual QString field(int row, int column) const = 0;
    virtual bool checked(int row) const = 0;
};

} // namespace velmora
