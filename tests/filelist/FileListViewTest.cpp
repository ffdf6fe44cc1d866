#include "FileListView.h"
#include "FileList.h"
#include "QStringPrinter.h"

#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using velmora::FileList;
using velmora::FileListView;

namespace {

// Mouse events built by hand: they carry the buttons held during a move, which is what
// the reorder gesture looks at.
void sendMouse(QWidget* target, QEvent::Type type, const QPoint& position, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(position), QPointF(target->mapToGlobal(position)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

class FileListViewTest : public testing::Test {
protected:
    void SetUp() override {
        view.resize(400, 200);
        view.setBusyQuery([this] { return busy; });
        view.setApplicationFolder(supportFolder.path());
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    QWidget* viewport() { return view.viewport(); }

    QPoint rowCentre(int position) {
        const QRect rect = view.visualRect(list.index(position - 1, FileList::PathColumn));
        return QPoint(10, rect.center().y());
    }

    QPoint belowTheRows() { return QPoint(10, viewport()->height() - 2); }

    void press(const QPoint& at) {
        sendMouse(viewport(), QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    }
    void moveHeld(const QPoint& to) {
        sendMouse(viewport(), QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    }
    void moveFree(const QPoint& to) {
        sendMouse(viewport(), QEvent::MouseMove, to, Qt::NoButton, Qt::NoButton);
    }
    void release(const QPoint& at) {
        sendMouse(viewport(), QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    }

    void writeDragIcon() {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::red);
        ASSERT_TRUE(image.save(supportFolder.filePath("drag.ico"), "PNG"));
    }

    QTemporaryDir supportFolder;
    FileList list;
    FileListView view{list};
    bool busy = false;
};

} // namespace

TEST_F(FileListViewTest, ShowsTwoColumnsWithTheHashColumnCollapsed) {
    EXPECT_EQ(view.objectName(), "ListView1");
    EXPECT_TRUE(view.header()->isVisible());
    EXPECT_EQ(view.header()->count(), 2);
    EXPECT_EQ(view.columnWidth(0), 7000 * view.logicalDpiX() / 1440);
    EXPECT_EQ(view.columnWidth(1), 0);
    EXPECT_FALSE(view.isColumnHidden(1));
    EXPECT_EQ(view.toolTip(), "Drag and drop files here. Double-click item to remove it. Move | "
                              "line to right and out of window to reveal full names.");
}

TEST_F(FileListViewTest, HashColumnStaysEmptyWhenWidened) {
    list.addMany({"/a/one.txt", "/a/two.txt"});
    view.header()->resizeSection(1, 120);
    EXPECT_EQ(view.columnWidth(1), 120);
    EXPECT_TRUE(view.model()->index(0, 1).data().toString().isEmpty());
    EXPECT_TRUE(view.model()->index(1, 1).data().toString().isEmpty());
}

TEST_F(FileListViewTest, SamePathTwiceShowsTwoRows) {
    list.Add("/same/path.txt");
    list.Add("/same/path.txt");
    EXPECT_EQ(view.model()->rowCount(), 2);
    EXPECT_TRUE(view.visualRect(list.index(1, 0)).isValid());
}

TEST_F(FileListViewTest, NoEntryIsCurrentAtFirst) {
    list.addMany({"A", "B"});
    EXPECT_EQ(view.Selected(), std::nullopt);
    view.selectPosition(2);
    EXPECT_EQ(view.Selected(), 2);
}

TEST_F(FileListViewTest, DeleteKeyRemovesTheCurrentEntryOnly) {
    list.addMany({"A", "B", "C"});
    view.selectPosition(2);
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(list.paths(), QStringList({"A", "C"}));
    // Other keys are the widget's: the arrow keys move the current entry.
    view.selectPosition(1);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.Selected(), 2);
    QTest::keyClick(&view, Qt::Key_Backspace);
    QTest::keyClick(&view, Qt::Key_X);
    EXPECT_EQ(list.paths(), QStringList({"A", "C"}));
}

TEST_F(FileListViewTest, DeleteDoesNothingWhileBusyEmptyOrWithoutCurrentEntry) {
    QTest::keyClick(&view, Qt::Key_Delete); // empty list
    EXPECT_EQ(list.Count(), 0);

    list.addMany({"A", "B"});
    view.setCurrentIndex(QModelIndex());
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(list.paths(), QStringList({"A", "B"}));

    view.selectPosition(1);
    busy = true;
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(list.paths(), QStringList({"A", "B"}));
    busy = false;
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(list.paths(), QStringList({"B"}));
}

TEST_F(FileListViewTest, DoubleClickRemovesTheEntryClicked) {
    list.addMany({"A", "B", "C"});
    QTest::mouseDClick(viewport(), Qt::LeftButton, Qt::NoModifier, rowCentre(2));
    EXPECT_EQ(list.paths(), QStringList({"A", "C"}));
}

TEST_F(FileListViewTest, DoubleClickDoesNothingWhileBusyOrOnAnEmptyList) {
    QTest::mouseDClick(viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(list.Count(), 0);

    list.addMany({"A", "B"});
    busy = true;
    QTest::mouseDClick(viewport(), Qt::LeftButton, Qt::NoModifier, rowCentre(1));
    EXPECT_EQ(list.paths(), QStringList({"A", "B"}));
}

TEST_F(FileListViewTest, DoubleClickBelowTheRowsWithoutCurrentEntryDoesNothing) {
    list.addMany({"A", "B"});
    QTest::mouseDClick(viewport(), Qt::LeftButton, Qt::NoModifier, belowTheRows());
    EXPECT_EQ(list.paths(), QStringList({"A", "B"}));
}

TEST_F(FileListViewTest, DraggingAnEntryDownCarriesItsPath) {
    list.addMany({"A", "B", "C"});
    press(rowCentre(1));
    EXPECT_TRUE(view.listDragActive());
    EXPECT_EQ(view.listDragItem(), 1);
    moveHeld(rowCentre(1));
    moveHeld(rowCentre(2));
    moveHeld(rowCentre(3));
    release(rowCentre(3));
    EXPECT_EQ(list.paths(), QStringList({"B", "C", "A"}));
    EXPECT_EQ(view.Selected(), 3);
    EXPECT_FALSE(view.listDragActive());
    // The release keeps the dragged entry.
    EXPECT_EQ(view.listDragItem(), 3);
    // Only the current row is highlighted; the widget's own drag selection stayed out.
    EXPECT_EQ(view.selectionModel()->selectedRows().size(), 1);
}

TEST_F(FileListViewTest, AFastMoveExchangesOnlyTheTwoEntries) {
    list.addMany({"A", "B", "C", "D", "E"});
    press(rowCentre(2));
    moveHeld(rowCentre(5));
    release(rowCentre(5));
    EXPECT_EQ(list.paths(), QStringList({"A", "E", "C", "D", "B"}));
    EXPECT_EQ(view.Selected(), 5);
}

TEST_F(FileListViewTest, DraggingOverAnEqualTextChangesNothing) {
    list.addMany({"A", "A", "B"});
    press(rowCentre(1));
    moveHeld(rowCentre(2));
    EXPECT_EQ(list.paths(), QStringList({"A", "A", "B"}));
    EXPECT_EQ(view.Selected(), 1);
    EXPECT_EQ(view.listDragItem(), 1);
}

TEST_F(FileListViewTest, ALaterPressAnywhereCarriesOnWithTheRememberedEntry) {
    list.addMany({"A", "B", "C"});
    press(rowCentre(1));
    release(rowCentre(1));
    // Pressing below the rows clicks no entry, yet the moves drag A along.
    press(belowTheRows());
    EXPECT_EQ(view.listDragItem(), 1);
    moveHeld(rowCentre(2));
    moveHeld(rowCentre(3));
    release(rowCentre(3));
    EXPECT_EQ(list.paths(), QStringList({"B", "C", "A"}));
}

TEST_F(FileListViewTest, MovingWithoutAPressedButtonReordersNothing) {
    list.addMany({"A", "B"});
    press(rowCentre(1));
    release(rowCentre(1));
    moveFree(rowCentre(2));
    EXPECT_EQ(list.paths(), QStringList({"A", "B"}));
}

TEST_F(FileListViewTest, RemovingTheDraggedEntryLeavesNothingToDrag) {
    list.addMany({"A", "B", "C"});
    press(rowCentre(2));
    release(rowCentre(2));
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(list.paths(), QStringList({"A", "C"}));
    EXPECT_EQ(view.listDragItem(), std::nullopt);
    press(belowTheRows());
    moveHeld(rowCentre(1));
    moveHeld(rowCentre(2));
    EXPECT_EQ(list.paths(), QStringList({"A", "C"}));

    press(rowCentre(1));
    release(rowCentre(1));
    list.Clear();
    EXPECT_EQ(view.listDragItem(), std::nullopt);
}

TEST_F(FileListViewTest, EntriesKeepTheirPlacesWhileBusy) {
    list.addMany({"A", "B", "C"});
    press(rowCentre(1));
    busy = true;
    moveHeld(rowCentre(3));
    EXPECT_EQ(list.paths(), QStringList({"A", "B", "C"}));
    busy = false;
    moveHeld(rowCentre(3));
    EXPECT_EQ(list.paths(), QStringList({"C", "B", "A"}));
}

TEST_F(FileListViewTest, HoverRuleRunsOnEveryMoveButNotWhileBusy) {
    int hovers = 0;
    view.setHoverHandler([&hovers] { ++hovers; });
    list.addMany({"A", "B"});
    moveFree(rowCentre(1));
    press(rowCentre(1));
    moveHeld(rowCentre(2));
    EXPECT_EQ(hovers, 2);
    busy = true;
    moveFree(rowCentre(1));
    EXPECT_EQ(hovers, 2);
}

TEST_F(FileListViewTest, EntryClickShowsTheDragPointerAndReleaseTheArrow) {
    writeDragIcon();
    list.addMany({"A", "B"});
    press(rowCentre(1));
    EXPECT_EQ(viewport()->cursor().shape(), Qt::BitmapCursor);
    release(rowCentre(1));
    EXPECT_EQ(viewport()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(FileListViewTest, WithoutDragIconTheEntryClickKeepsThePointerAndStillTakesTheEntry) {
    list.addMany({"A", "B"});
    viewport()->setCursor(Qt::CrossCursor);
    press(rowCentre(2));
    EXPECT_EQ(viewport()->cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(view.listDragItem(), 2);
    moveHeld(rowCentre(1));
    EXPECT_EQ(list.paths(), QStringList({"B", "A"}));
}

TEST_F(FileListViewTest, TheProgramsOwnDragIconLoads) {
    view.setApplicationFolder(VELMORA_SUPPORT_FILES_DIR);
    if (!QFile::exists(QStringLiteral(VELMORA_SUPPORT_FILES_DIR "/drag.ico")))
        GTEST_SKIP() << "no drag.ico in the build's application folder yet";
    list.Add("A");
    press(rowCentre(1));
    EXPECT_EQ(viewport()->cursor().shape(), Qt::BitmapCursor);
}

TEST_F(FileListViewTest, HoldingThePointerAtTheBottomEdgeScrollsDown) {
    QStringList paths;
    for (int number = 1; number <= 100; ++number)
        paths << QStringLiteral("/files/%1.txt").arg(number);
    list.addMany(paths);
    const int rowHeight = view.visualRect(list.index(0, 0)).height();
    ASSERT_GT(rowHeight, 0);

    press(rowCentre(1));
    // Held in the bottom band, every move hands the path to the row under the pointer and
    // brings the next row into view, so the path walks down the list.
    const QPoint bottomBand(10, viewport()->height() - 2);
    for (int round = 0; round < 30; ++round)
        moveHeld(bottomBand);
    const int scrolledTo = view.verticalScrollBar()->value();
    EXPECT_GT(scrolledTo, 0);
    // The entry below the dragged one is now in view.
    const QRect below = view.visualRect(list.index(*view.Selected(), 0));
    EXPECT_TRUE(viewport()->rect().intersects(below));
    EXPECT_EQ(list.Text(*view.Selected()), "/files/1.txt");
    EXPECT_GT(*view.Selected(), 20);

    // and at the top edge back up, never past the first entry
    for (int round = 0; round < 200; ++round)
        moveHeld(QPoint(10, 1));
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
    EXPECT_EQ(view.Selected(), 1);
    EXPECT_EQ(list.Text(1), "/files/1.txt");
    release(QPoint(10, 1));
}

TEST_F(FileListViewTest, PointerOutsideTheListHitsNoEntry) {
    QStringList paths;
    for (int number = 1; number <= 100; ++number)
        paths << QStringLiteral("/files/%1.txt").arg(number);
    list.addMany(paths);
    // Rows scrolled out of sight lie just above and below the viewport.
    view.scrollTo(list.index(49, 0), QAbstractItemView::PositionAtCenter);
    const QPoint visible = rowCentre(50);
    ASSERT_TRUE(viewport()->rect().contains(visible));
    press(visible);
    for (int y : {-1, -5, -40, viewport()->height(), viewport()->height() + 40})
        moveHeld(QPoint(10, y));
    release(visible);
    EXPECT_EQ(list.paths(), paths);
    EXPECT_EQ(view.hitTest(QPoint(10, -1)), std::nullopt);
    EXPECT_EQ(view.hitTest(visible), 50);
    // The whole row counts, not only the path column.
    EXPECT_EQ(view.hitTest(QPoint(viewport()->width() - 2, visible.y())), 50);
}

TEST_F(FileListViewTest, ScreenReadersHearOneColumnOfPaths) {
    const QStringList paths{"/a/one.txt", "/b/two.txt", "/c/three.txt"};
    list.addMany(paths);
    view.selectPosition(2);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&view);
    QAccessibleTableInterface* grid = table->tableInterface();
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->columnCount(), 1);
    EXPECT_EQ(grid->rowCount(), 3);
    EXPECT_EQ(grid->cellAt(0, 1), nullptr);
    EXPECT_EQ(grid->selectedRows(), QList<int>{1});

    for (bool headerShown : {true, false}) {
        view.setHeaderHidden(!headerShown);
        const int first = headerShown ? 1 : 0;
        // Read out in order: the header while it shows, then the paths, and nothing else.
        QStringList heard;
        for (int index = 0; index < table->childCount(); ++index) {
            heard << table->child(index)->text(QAccessible::Name);
            EXPECT_EQ(table->indexOfChild(table->child(index)), index);
        }
        EXPECT_EQ(heard, (headerShown ? QStringList{"File(s)"} : QStringList{}) + paths);
        EXPECT_EQ(table->child(first + 3), nullptr);
        EXPECT_EQ(table->child(0)->role(),
                  headerShown ? QAccessible::ColumnHeader : QAccessible::TreeItem);
        for (int row = 0; row < 3; ++row) {
            QAccessibleInterface* cell = table->child(first + row);
            EXPECT_EQ(grid->cellAt(row, 0), cell);
            EXPECT_EQ(table->childAt(cell->rect().center().x(), cell->rect().center().y()), cell);
            QAccessibleTableCellInterface* place = cell->tableCellInterface();
            ASSERT_TRUE(place);
            EXPECT_EQ(place->rowIndex(), row);
            EXPECT_EQ(place->columnIndex(), 0);
            EXPECT_EQ(place->isSelected(), row == 1);
            EXPECT_EQ(place->columnHeaderCells().size(), first);
        }
        EXPECT_EQ(table->focusChild(), table->child(first + 1));
    }

    // A cell handed out before an entry went says so, and rows answer for what is left.
    QAccessibleInterface* gone = table->child(0);
    list.Remove(1);
    EXPECT_FALSE(gone->isValid());
    ASSERT_EQ(table->childCount(), 2);
    EXPECT_EQ(table->child(1)->text(QAccessible::Name), paths[2]);
    EXPECT_EQ(table->indexOfChild(table->child(1)), 1);
}
