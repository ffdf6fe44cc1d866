#include "FileList.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <stdexcept>

using velmora::FileList;

namespace {

QStringList textsOf(const FileList& list) {
    QStringList texts;
    for (int position = 1; position <= list.Count(); ++position)
        texts << list.Text(position);
    return texts;
}

} // namespace

TEST(FileList, KeepsDuplicatesAndTheOrderOfAddition) {
    FileList list;
    EXPECT_EQ(list.Count(), 0);
    list.Add("/b/z.txt");
    list.Add("/a/y.txt");
    list.Add("/b/z.txt");
    EXPECT_EQ(textsOf(list), QStringList({"/b/z.txt", "/a/y.txt", "/b/z.txt"}));
    EXPECT_EQ(list.paths(), textsOf(list));
    EXPECT_EQ(list.rowCount(), 3);
}

TEST(FileList, RemoveMovesLaterEntriesUpOnePlace) {
    FileList list;
    list.addMany({"A", "B", "C", "D"});
    list.Remove(2);
    EXPECT_EQ(textsOf(list), QStringList({"A", "C", "D"}));
    list.Remove(3);
    EXPECT_EQ(textsOf(list), QStringList({"A", "C"}));
    list.Remove(1);
    EXPECT_EQ(textsOf(list), QStringList({"C"}));
}

TEST(FileList, PositionsOutsideTheListAreReportedNotGuessed) {
    FileList list;
    EXPECT_THROW(list.Text(1), std::out_of_range);
    EXPECT_THROW(list.Remove(1), std::out_of_range);
    list.addMany({"A", "B"});
    EXPECT_THROW(list.Text(0), std::out_of_range);
    EXPECT_THROW(list.Text(3), std::out_of_range);
    EXPECT_THROW(list.Remove(0), std::out_of_range);
    EXPECT_THROW(list.Remove(3), std::out_of_range);
    EXPECT_THROW(list.exchangeTexts(1, 3), std::out_of_range);
    EXPECT_EQ(textsOf(list), QStringList({"A", "B"}));
}

TEST(FileList, ClearEmptiesTheListAndItCanBeFilledAgain) {
    FileList list;
    list.addMany({"A", "B"});
    QSignalSpy resets(&list, &FileList::modelReset);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(resets.count(), 1);
    list.Add("C");
    EXPECT_EQ(textsOf(list), QStringList({"C"}));
}

TEST(FileList, BulkAdditionIsAnnouncedOnceAndAppendsAfterExistingEntries) {
    FileList list;
    list.Add("first");
    QSignalSpy inserted(&list, &FileList::rowsInserted);
    list.addMany({});
    EXPECT_EQ(inserted.count(), 0);
    list.addMany({"x", "y", "x"});
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 1);
    EXPECT_EQ(inserted.at(0).at(2).toInt(), 3);
    EXPECT_EQ(textsOf(list), QStringList({"first", "x", "y", "x"}));
}

TEST(FileList, ExchangeSwapsTextsOnlyAndTellsTheViews) {
    FileList list;
    list.addMany({"A", "B", "C"});
    QSignalSpy changed(&list, &FileList::dataChanged);
    QSignalSpy moved(&list, &FileList::rowsMoved);
    list.exchangeTexts(1, 3);
    EXPECT_EQ(textsOf(list), QStringList({"C", "B", "A"}));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(moved.count(), 0);
    QList<int> rows;
    for (const auto& signal : changed)
        rows << signal.at(0).value<QModelIndex>().row();
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, QList<int>({0, 2}));
}

TEST(FileList, HashColumnHasAHeaderButNeverAValue) {
    FileList list;
    list.addMany({"/a", "/b"});
    EXPECT_EQ(list.columnCount(), 2);
    EXPECT_EQ(list.headerData(0, Qt::Horizontal).toString(), "File(s)");
    EXPECT_EQ(list.headerData(1, Qt::Horizontal).toString(), "Hash");
    for (int row = 0; row < list.rowCount(); ++row) {
        for (int role : {Qt::DisplayRole, Qt::EditRole, Qt::ToolTipRole, Qt::DecorationRole})
            EXPECT_FALSE(list.index(row, FileList::HashColumn).data(role).isValid()) << row;
        EXPECT_FALSE(list.setData(list.index(row, FileList::HashColumn), "hash"));
    }
    EXPECT_EQ(list.index(1, FileList::PathColumn).data().toString(), "/b");
}

TEST(FileList, EntriesCarryNothingButTheirPathAndCannotBeEditedInPlace) {
    FileList list;
    list.Add("/a");
    const QModelIndex entry = list.index(0, FileList::PathColumn);
    EXPECT_FALSE(entry.data(Qt::CheckStateRole).isValid());
    EXPECT_FALSE(entry.data(Qt::DecorationRole).isValid());
    EXPECT_FALSE(list.flags(entry) & Qt::ItemIsEditable);
    EXPECT_FALSE(list.flags(entry) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(list.setData(entry, "/changed"));
    EXPECT_EQ(list.Text(1), "/a");
}
