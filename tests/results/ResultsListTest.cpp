#include "ResultsList.h"
#include "MatchReason.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include <stdexcept>

namespace velmora {
namespace {

std::vector<ResultRow> rowsOf(std::initializer_list<ResultRow> rows) {
    return rows;
}

QStringList texts(const ResultsList& list) {
    QStringList result;
    for (int position = 1; position <= list.Count(); ++position)
        result << list.Text(position);
    return result;
}

TEST(MatchReasonTest, EachReasonInWordsWithTheRunsOwnTexts) {
    SearchOptions options;
    options.Text1 = "-";
    options.Text2 = "_";
    const struct {
        ResultRow row;
        const char* expected;
    } cases[] = {
        {{"/a/x.txt", false, "/b/x.txt", 1}, "Same file name"},
        {{"/a/x.txt", true, "/a/x.txt", 1}, "Same path"},
        {{"/a/X.TXT", false, "/b/x.txt", 1}, "Names 100 % alike"},
        {{"/a/abcde", false, "/b/abcxy", 0.6049}, "Names 60 % alike"},
        {{"/a/x.txt", false, "/a/x.txt", -1, MatchStage::Path}, "Same path"},
        {{"/a/x.txt", false, "/b/x.doc", -1, MatchStage::Extension}, "Same name without extension"},
        {{"/a/x-1", false, "/b/x-2", -1, MatchStage::Before}, "Same part before \"-\""},
        {{"/a/1_x", false, "/b/2_x", -1, MatchStage::After}, "Same part after \"_\""},
        {{"/a/x", false}, ""},
    };
    for (const auto& each : cases)
        EXPECT_EQ(matchReasonText(each.row, options, PathStyle::Posix), each.expected)
            << each.row.path.toStdString();
}

TEST(ResultsListTest, AddAppendsUntickedRowsInOrderWithOneColumn) {
    ResultsList list;
    EXPECT_EQ(list.Count(), 0);
    list.Add("/a/x.txt");
    list.Add("/b/x.txt");
    list.Add("/a/x.txt"); // repeats are the search run's to remove, not the list's

    EXPECT_EQ(texts(list), QStringList({"/a/x.txt", "/b/x.txt", "/a/x.txt"}));
    EXPECT_FALSE(list.Checked(1));
    EXPECT_FALSE(list.Checked(3));
    EXPECT_EQ(list.ColumnHeaders(), QStringList({"File(s)"}));
    EXPECT_EQ(list.columnCount(), 1);
    EXPECT_EQ(list.headerData(0, Qt::Horizontal).toString(), "File(s)");
}

TEST(ResultsListTest, RemoveMovesLaterRowsUpWithTheirTicks) {
    ResultsList list;
    list.setRows(rowsOf({{"A", false}, {"B", true}, {"C", true}, {"D", false}}));
    list.Remove(2);
    EXPECT_EQ(texts(list), QStringList({"A", "C", "D"}));
    EXPECT_TRUE(list.Checked(2));
    EXPECT_FALSE(list.Checked(3));
    list.Remove(3);
    list.Remove(1);
    EXPECT_EQ(texts(list), QStringList({"C"}));
}

TEST(ResultsListTest, PositionsOutsideTheListAreReportedNotRead) {
    ResultsList list;
    EXPECT_THROW(list.Text(1), std::out_of_range);
    list.Add("A");
    EXPECT_THROW(list.Text(0), std::out_of_range);
    EXPECT_THROW(list.Text(2), std::out_of_range);
    EXPECT_THROW(list.Checked(-1), std::out_of_range);
    EXPECT_THROW(list.SetChecked(2, true), std::out_of_range);
    EXPECT_THROW(list.Remove(2), std::out_of_range);
    EXPECT_THROW(list.setCheckedRange(1, 2, true), std::out_of_range);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_FALSE(list.Checked(1));
}

TEST(ResultsListTest, SetRowsReplacesEverythingWithOneReset) {
    ResultsList list;
    list.Add("old");
    QSignalSpy resets(&list, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&list, &QAbstractItemModel::rowsInserted);

    list.setRows(rowsOf({{"A", false}, {"B", true}}));
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(list.rows(), rowsOf({{"A", false}, {"B", true}}));
    EXPECT_EQ(list.checkedPaths(), QStringList({"B"}));

    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.checkedPaths().isEmpty());
}

TEST(ResultsListTest, CheckingARangeNotifiesOnceForTheWholeRange) {
    ResultsList list;
    std::vector<ResultRow> many(100000, ResultRow{"same", false});
    many.back().checked = true;
    list.setRows(std::move(many));
    QSignalSpy changes(&list, &QAbstractItemModel::dataChanged);

    list.setCheckedRange(1, list.Count(), true);

    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes[0][0].value<QModelIndex>().row(), 0);
    EXPECT_EQ(changes[0][1].value<QModelIndex>().row(), list.Count() - 1);
    EXPECT_EQ(changes[0][2].value<QList<int>>(), QList<int>({Qt::CheckStateRole}));
    EXPECT_EQ(list.checkedPaths().size(), list.Count());

    list.setCheckedRange(2, 3, false);
    EXPECT_TRUE(list.Checked(1));
    EXPECT_FALSE(list.Checked(2));
    EXPECT_FALSE(list.Checked(3));
    EXPECT_TRUE(list.Checked(4));
}

TEST(ResultsListTest, RemovingSeveralPositionsKeepsTheRestInOrder) {
    ResultsList list;
    list.setRows(rowsOf({{"A", true}, {"B", false}, {"C", true}, {"D", true}, {"E", false}}));
    list.removePositions({4, 1, 4});
    EXPECT_EQ(texts(list), QStringList({"B", "C", "E"}));
    EXPECT_EQ(list.checkedPaths(), QStringList({"C"}));

    // One bad position leaves the list as it was rather than half removed.
    EXPECT_THROW(list.removePositions({1, 9}), std::out_of_range);
    EXPECT_EQ(list.Count(), 3);
    list.removePositions({});
    EXPECT_EQ(list.Count(), 3);
}

TEST(ResultsListTest, TheViewMayChangeTheTickButNeverTheText) {
    ResultsList list;
    list.Add("/a/x.txt");
    const QModelIndex row = list.index(0, 0);

    EXPECT_TRUE(list.flags(row) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(list.flags(row) & Qt::ItemIsEditable);
    EXPECT_FALSE(list.flags(row) & Qt::ItemIsDropEnabled);
    EXPECT_EQ(list.data(row, Qt::CheckStateRole).toInt(), Qt::Unchecked);

    QSignalSpy changes(&list, &QAbstractItemModel::dataChanged);
    EXPECT_TRUE(list.setData(row, Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(list.Checked(1));
    EXPECT_EQ(list.data(row, Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(changes.count(), 1);

    EXPECT_FALSE(list.setData(row, "/elsewhere", Qt::EditRole));
    EXPECT_EQ(list.Text(1), "/a/x.txt");
    EXPECT_FALSE(list.setData(list.index(5, 0), Qt::Checked, Qt::CheckStateRole));

    EXPECT_TRUE(list.setData(row, Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_FALSE(list.Checked(1));
}

TEST(ResultsListTest, SettingTheSameTickAgainIsQuiet) {
    ResultsList list;
    list.Add("A");
    QSignalSpy changes(&list, &QAbstractItemModel::dataChanged);
    list.SetChecked(1, false);
    EXPECT_EQ(changes.count(), 0);
    list.SetChecked(1, true);
    list.SetChecked(1, true);
    EXPECT_EQ(changes.count(), 1);
}

} // namespace
} // namespace velmora
