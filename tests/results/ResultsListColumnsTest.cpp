#include "ResultsListColumns.h"
#include "ClipboardText.h"
#include "ProperlySpacedText.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(ResultsListColumnsTest, WritersSeeOneColumnOfPathsWithTheirTicks) {
    ResultsList list;
    list.setRows({{"/a/x.txt", false}, {"/bb/x.txt", true}, {"/c/y", true}});
    const ResultsListColumns columns(list);

    ASSERT_EQ(columns.columnCount(), 1);
    EXPECT_EQ(columns.headerText(0), "File(s)");
    EXPECT_EQ(columns.headerText(1), ""); // no sub-items to name
    EXPECT_EQ(columns.field(1, 1), "");

    // The unticked row still sets the width; only ticked rows are written.
    EXPECT_EQ(properlySpacedText(columns), "File(s)  \t\r\n"
                                           "/bb/x.txt\t\r\n"
                                           "/c/y     \t\r\n");
    EXPECT_EQ(clipboardText(columns), "/a/x.txt\r\n/bb/x.txt\r\n/c/y\r\n");
}

TEST(ResultsListColumnsTest, FollowsTheListAsItChanges) {
    ResultsList list;
    const ResultsListColumns columns(list);
    EXPECT_EQ(columns.rowCount(), 0);
    EXPECT_EQ(clipboardText(columns), "");

    list.Add("/a");
    list.SetChecked(1, true);
    EXPECT_EQ(columns.rowCount(), 1);
    EXPECT_TRUE(columns.checked(0));
    list.Remove(1);
    EXPECT_EQ(columns.rowCount(), 0);
}

} // namespace
} // namespace velmora
