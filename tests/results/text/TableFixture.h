#pragma once

#include "ColumnList.h"

#include <QString>
#include <QStringList>

#include <ostream>
#include <vector>

// Readable failure messages for text comparisons.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace velmora::testing {

// A list with any number of columns held in memory: each row is its fields and a tick.
class TableFixture : public ColumnList {
public:
    struct Row {
        QStringList fields;
        bool checked = false;
    };

    explicit TableFixture(QStringList headers, std::vector<Row> rows = {})
        : headers_(std::move(headers)), rows_(std::move(rows)) {}

    // One column "File(s)", as the results list has.
    static TableFixture files(const std::vector<std::pair<QString, bool>>& paths) {
        std::vector<Row> rows;
        for (const auto& [path, checked] : paths)
            rows.push_back({QStringList{path}, checked});
        return TableFixture({QStringLiteral("File(s)")}, std::move(rows));
    }

    int columnCount() const override { return static_cast<int>(headers_.size()); }
    QString headerText(int column) const override { return headers_.at(column); }
    int rowCount() const override { return static_cast<int>(rows_.size()); }
    QString field(int row, int column) const override {
        return rows_.at(static_cast<std::size_t>(row)).fields.value(column);
    }
    bool checked(int row) const override { return rows_.at(static_cast<std::size_t>(row)).checked; }

private:
    QStringList headers_;
    std::vector<Row> rows_;
};

} // namespace velmora::testing
