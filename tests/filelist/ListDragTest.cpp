#include "ListDrag.h"
#include "FileList.h"

#include <gtest/gtest.h>

using velmora::FileList;
using velmora::ListDrag;

namespace {

class ListDragTest : public testing::Test {
protected:
    void fill(const QStringList& paths) { list.addMany(paths); }

    FileList list;
    ListDrag drag{list};
};

} // namespace

TEST_F(ListDragTest, DraggedPathTravelsWithThePointer) {
    fill({"A", "B", "C"});
    drag.setItem(1);
    drag.press();
    EXPECT_EQ(drag.step(1), std::nullopt); // over itself: nothing to exchange
    EXPECT_EQ(drag.step(2), 2);
    EXPECT_EQ(drag.step(3), 3);
    EXPECT_EQ(list.paths(), QStringList({"B", "C", "A"}));
    EXPECT_EQ(drag.item(), 3);
    // and back up again
    EXPECT_EQ(drag.step(1), 1);
    EXPECT_EQ(list.paths(), QStringList({"A", "C", "B"}));
}

TEST_F(ListDragTest, AJumpExchangesOnlyTheTwoEntries) {
    fill({"A", "B", "C", "D", "E"});
    drag.setItem(2);
    drag.press();
    EXPECT_EQ(drag.step(5), 5);
    EXPECT_EQ(list.paths(), QStringList({"A", "E", "C", "D", "B"}));
    EXPECT_EQ(drag.item(), 5);
}

TEST_F(ListDragTest, EqualTextsAreLeftAloneAndKeepTheDraggedEntry) {
    fill({"same", "same", "Same"});
    drag.setItem(1);
    drag.press();
    EXPECT_EQ(drag.step(2), std::nullopt);
    EXPECT_EQ(drag.item(), 1);
    // Case matters: "Same" is a different text.
    EXPECT_EQ(drag.step(3), 3);
    EXPECT_EQ(list.paths(), QStringList({"Same", "same", "same"}));
}

TEST_F(ListDragTest, NothingMovesWithoutAPressedButtonOrADraggedEntryOrAHit) {
    fill({"A", "B"});
    drag.setItem(1);
    EXPECT_EQ(drag.step(2), std::nullopt); // not pressed
    drag.press();
    EXPECT_EQ(drag.step(std::nullopt), std::nullopt);
    EXPECT_EQ(drag.step(3), std::nullopt);
    drag.setItem(std::nullopt);
    EXPECT_EQ(drag.step(2), std::nullopt);
    EXPECT_EQ(list.paths(), QStringList({"A", "B"}));
}

TEST_F(ListDragTest, ReleaseEndsTheGestureButRemembersTheEntry) {
    fill({"A", "B", "C"});
    drag.setItem(1);
    drag.press();
    drag.step(2);
    drag.release();
    EXPECT_FALSE(drag.active());
    EXPECT_EQ(drag.item(), 2);
    EXPECT_EQ(drag.step(3), std::nullopt);
    // A later press anywhere carries on with the remembered path.
    drag.press();
    EXPECT_EQ(drag.step(3), 3);
    EXPECT_EQ(list.paths(), QStringList({"B", "C", "A"}));
}

TEST_F(ListDragTest, DraggedEntryIsAnEntryNotAPosition) {
    fill({"A", "B", "C", "D"});
    drag.setItem(3); // C
    list.Remove(1);
    EXPECT_EQ(drag.item(), 2);
    list.Add("E");
    EXPECT_EQ(drag.item(), 2);
    drag.press();
    EXPECT_EQ(drag.step(4), 4);
    EXPECT_EQ(list.paths(), QStringList({"B", "E", "D", "C"}));
}

TEST_F(ListDragTest, RemovingOrClearingForgetsTheDraggedEntry) {
    fill({"A", "B", "C"});
    drag.setItem(2);
    list.Remove(2);
    EXPECT_EQ(drag.item(), std::nullopt);
    drag.press();
    EXPECT_EQ(drag.step(1), std::nullopt);
    EXPECT_EQ(list.paths(), QStringList({"A", "C"}));

    drag.setItem(1);
    list.Clear();
    EXPECT_EQ(drag.item(), std::nullopt);
    // A new entry in the same place is not the one that was dragged.
    fill({"X", "Y"});
    EXPECT_EQ(drag.item(), std::nullopt);
    EXPECT_EQ(drag.step(2), std::nullopt);
}

TEST_F(ListDragTest, SettingAPositionOutsideTheListMeansNone) {
    fill({"A"});
    drag.setItem(0);
    EXPECT_EQ(drag.item(), std::nullopt);
    drag.setItem(2);
    EXPECT_EQ(drag.item(), std::nullopt);
    drag.setItem(1);
    EXPECT_EQ(drag.item(), 1);
}
