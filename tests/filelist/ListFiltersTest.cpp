#include "ListFilters.h"
#include "FileList.h"
#include "FileListView.h"
#include "QStringPrinter.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <stdexcept>

namespace velmora {
namespace {

TEST(ListFilters, CaseIsIgnoredByLowerCasingBothSides) {
    const QStringList paths = {"C:\\Temp\\a.txt", "C:\\Data\\b.txt"};
    FileList containing;
    containing.addMany(paths);
    RemoveEntriesContaining(containing, "TEMP");
    EXPECT_EQ(containing.paths(), QStringList{"C:\\Data\\b.txt"});

    FileList notContaining;
    notContaining.addMany(paths);
    RemoveEntriesNotContaining(notContaining, "TEMP");
    EXPECT_EQ(notContaining.paths(), QStringList{"C:\\Temp\\a.txt"});

    // Letters beyond ASCII are lower-cased too, also where the text sought is plain ASCII.
    EXPECT_EQ(positionsContaining({"/Bilder/ÄPFEL.jpg", "/Bilder/birne.jpg"}, "äpfel"),
              std::vector<int>{1});
    EXPECT_EQ(positionsContaining({"/Ärger/REPORT.txt", "/ärger/x.txt", "/Plain/Report.TXT"},
                                  "report.txt"),
              (std::vector<int>{1, 3}));
    EXPECT_EQ(positionsContaining({"/ΣΟΦΙΑ/a", "/b"}, "σοφια"), std::vector<int>{1});
    // Paths of different lengths one after the other: nothing of a longer path lingers.
    EXPECT_EQ(
        positionsContaining({"/a/very-long-name-with-TAIL.txt", "/a/x", "/a/ÄTAIL", "/t"}, "tail"),
        (std::vector<int>{1, 3}));
}

TEST(ListFilters, TheWholePathIsSearchedNotOnlyTheName) {
    const QStringList paths = {"/home/report/a.txt", "/home/b/report.txt", "/home/c/d.txt"};
    EXPECT_EQ(positionsContaining(paths, "report"), (std::vector<int>{1, 2}));
    EXPECT_EQ(positionsNotContaining(paths, "report"), std::vector<int>{3});
    // A separator occurs in every full path.
    EXPECT_EQ(positionsContaining(paths, "/"), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(positionsNotContaining(paths, "/").empty());
}

TEST(ListFilters, WildcardsAndBlanksAreOrdinaryCharacters) {
    const QStringList paths = {"/x/a*b.txt", "/x/axb.txt", "/x/a b.txt", "/x/ab.txt"};
    EXPECT_EQ(positionsContaining(paths, "a*b"), std::vector<int>{1});
    EXPECT_EQ(positionsContaining(paths, "a?b"), std::vector<int>{});
    EXPECT_EQ(positionsContaining(paths, " "), std::vector<int>{3});
    // Leading and trailing blanks belong to the text sought.
    EXPECT_EQ(positionsContaining(paths, " b"), std::vector<int>{3});
    EXPECT_EQ(positionsContaining(paths, "ab "), std::vector<int>{});
    EXPECT_EQ(positionsContaining(paths, ".TXT"), (std::vector<int>{1, 2, 3, 4}));
}

TEST(ListFilters, TextFoundNowhere) {
    FileList containing;
    containing.addMany({"/a/one.txt", "/a/two.txt"});
    RemoveEntriesContaining(containing, "zzz");
    EXPECT_EQ(containing.Count(), 2);

    FileList notContaining;
    notContaining.addMany({"/a/one.txt", "/a/two.txt"});
    RemoveEntriesNotContaining(notContaining, "zzz");
    EXPECT_EQ(notContaining.Count(), 0);
}

TEST(ListFilters, DuplicatesGoOrStayTogether) {
    FileList containing;
    containing.addMany({"/d/same.txt", "/d/other.txt", "/d/same.txt"});
    RemoveEntriesContaining(containing, "SAME");
    EXPECT_EQ(containing.paths(), QStringList{"/d/other.txt"});

    FileList notContaining;
    notContaining.addMany({"/d/same.txt", "/d/other.txt", "/d/same.txt"});
    RemoveEntriesNotContaining(notContaining, "same");
    EXPECT_EQ(notContaining.paths(), QStringList({"/d/same.txt", "/d/same.txt"}));
}

TEST(ListFilters, AnEmptyListStaysEmpty) {
    FileList list;
    RemoveEntriesContaining(list, "a");
    RemoveEntriesNotContaining(list, "a");
    EXPECT_EQ(list.Count(), 0);
}

TEST(ListFilters, OrderOfTheRemainingEntriesIsKept) {
    FileList list;
    list.addMany({"/k/3", "/r/1", "/k/1", "/r/2", "/k/2", "/r/3"});
    RemoveEntriesContaining(list, "/r/");
    EXPECT_EQ(list.paths(), QStringList({"/k/3", "/k/1", "/k/2"}));
}

// The one-pass removal must give what removing one by one from the last back gives.
TEST(RemovePositions, MatchesRemovingOneByOneFromTheBack) {
    QStringList paths;
    for (int number = 1; number <= 40; ++number)
        paths << QStringLiteral("/p/%1").arg(number);
    const std::vector<std::vector<int>> cases = {
        {1}, {40}, {1, 40}, {2, 3, 4, 5}, {1, 3, 5, 7, 9, 11, 39}, {}, {20, 21, 40}};
    for (const std::vector<int>& positions : cases) {
        FileList fast;
        fast.addMany(paths);
        FileList slow;
        slow.addMany(paths);
        fast.removePositions(positions);
        for (auto position = positions.rbegin(); position != positions.rend(); ++position)
            slow.Remove(*position);
        EXPECT_EQ(fast.paths(), slow.paths());
        EXPECT_EQ(fast.rowCount(), slow.Count());
    }
    std::vector<int> every(40);
    for (int position = 1; position <= 40; ++position)
        every[position - 1] = position;
    FileList all;
    all.addMany(paths);
    all.removePositions(every);
    EXPECT_EQ(all.Count(), 0);
}

TEST(RemovePositions, BadRequestsChangeNothing) {
    FileList list;
    list.addMany({"A", "B", "C"});
    EXPECT_THROW(list.removePositions({0}), std::out_of_range);
    EXPECT_THROW(list.removePositions({1, 4}), std::out_of_range);
    EXPECT_THROW(list.removePositions({2, 1}), std::invalid_argument);
    EXPECT_THROW(list.removePositions({2, 2}), std::invalid_argument);
    EXPECT_EQ(list.paths(), QStringList({"A", "B", "C"}));
}

TEST(RemovePositions, ViewsAreToldOnceAndKeepTheirEntries) {
    FileList list;
    list.addMany({"A", "B", "C", "D", "E"});
    FileListView view(list);
    view.selectPosition(4); // D
    QPersistentModelIndex removed(list.index(1, 0));
    QSignalSpy layoutChanges(&list, &FileList::layoutChanged);
    QSignalSpy resets(&list, &FileList::modelReset);

    list.removePositions({1, 2, 5});

    EXPECT_EQ(layoutChanges.count(), 1);
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(view.model()->rowCount(), 2);
    // The current entry is still D, now at position 2; a removed entry is gone for good.
    EXPECT_EQ(view.Selected(), 2);
    EXPECT_EQ(list.Text(2), "D");
    EXPECT_FALSE(removed.isValid());

    list.removePositions({2});
    EXPECT_EQ(view.Selected(), std::nullopt);
    EXPECT_EQ(list.paths(), QStringList{"C"});
}

} // namespace
} // namespace velmora
