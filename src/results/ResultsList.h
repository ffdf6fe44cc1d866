#pragma once

#include "ContentFacts.h"
#include "DuplicateSearch.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace velmora {

// What the contents check found for the row of `path` matched to `partner`.
struct RowContentFact {
    QString path;
    QString partner;
    ContentFact fact;
};

// The list's own hint, shown over it and at the end of each row's tooltip, which hides it.
QString resultsListHint();

// The rows the search run found: one path per row with its tick, in the order the run
// wrote them. Positions in the named operations run from 1 to Count, like the list
// control they stand for; the model's own indexes start at 0 as Qt expects. A position
// outside 1..Count throws std::out_of_range, so a command's error trap reports it.
class ResultsList : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ResultsList(QObject* parent = nullptr);

    void Clear();
    void Add(const QString& path);
    int Count() const;
    QString Text(int position) const;
    bool Checked(int position) const;
    void SetChecked(int position, bool checked);
    void Remove(int position);
    // The columns' header texts; the results list has the one column "File(s)".
    QStringList ColumnHeaders() const;

    // Replaces every row at once, with one model reset: a run may deliver a million rows.
    void setRows(std::vector<ResultRow> rows);
    const std::vector<ResultRow>& rows() const { return rows_; }
    // The options and path style of the run that found the rows: a row's tooltip says why
    // it matched in the run's own terms (the before- and after-texts it cut at).
    void setRunOptions(const SearchOptions& options, PathStyle style);
    QStringList checkedPaths() const;

    // Ticks or unticks positions first..last with one change notification for the whole
    // range, so "Check All" over a million rows does not notify a million times.
    void setCheckedRange(int first, int last, bool checked);

    // Removes the given positions (any order, repeats ignored) in one pass and one reset;
    // removing them one by one from a long list would move the tail once per row.
    void removePositions(std::vector<int> positions);

    // What the contents check has found so far. Facts go by the row's path and partner,
    // so they stay right when other rows are removed or brought back; replacing the rows
    // drops them. `contentsCompared` is true from the start of a check for these rows:
    // a row without a fact then is one not compared yet.
    void startContentFacts();
    void addContentFacts(const std::vector<RowContentFact>& facts);
    bool contentsCompared() const { return contentsCompared_; }
    const ContentFact* contentFactOf(const ResultRow& row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    // Clear or setRows: whatever was learnt about the old rows no longer applies.
    void rowsReplaced();

private:
    std::size_t checkedIndex(int position) const;

    std::vector<ResultRow> rows_;
    SearchOptions runOptions_;
    PathStyle runStyle_ = PathStyle::Posix;
    QHash<std::pair<QString, QString>, ContentFact> contentFacts_;
    bool contentsCompared_ = false;
};

} // namespace velmora
