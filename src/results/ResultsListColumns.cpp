#include "ResultsListColumns.h"

namespace velmora {

// The writers walk every row; reading the rows directly spares a million position checks.
QString ResultsListColumns::field(int row, int column) const {
    return column == 0 ? list_.rows().at(static_cast<std::size_t>(row)).path : QString();
}

bool ResultsListColumns::checked(int row) const {
    return list_.rows().at(static_cast<std::size_t>(row)).checked;
}

} // namespace velmora
