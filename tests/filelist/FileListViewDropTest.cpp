#include "FileList.h"
#include "FileListView.h"
#include "QStringPrinter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace velmora {
namespace {

QMimeData* filesData(const QStringList& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

QMimeData* textData(const QString& text) {
    auto* data = new QMimeData;
    data->setText(text);
    return data;
}

// Drags and drops as the window system delivers them: to the list's viewport.
class FileListViewDropTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        view.resize(400, 200);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    QString make(const QString& relative) {
        const QString path = root.filePath(relative);
        EXPECT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }

    QPoint centre() { return view.viewport()->rect().center(); }

    // Returns whether the list accepted the drag, and with which action.
    bool dragEnter(QMimeData* data, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
        QDragEnterEvent enter(centre(), actions, data, Qt::LeftButton, Qt::NoModifier);
        enter.setDropAction(Qt::MoveAction);
        QApplication::sendEvent(view.viewport(), &enter);
        enterAction = enter.dropAction();
        QDragMoveEvent move(centre(), actions, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &move);
        EXPECT_EQ(enter.isAccepted(), move.isAccepted());
        return enter.isAccepted();
    }

    bool drop(QMimeData* data, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
        QDropEvent event(centre(), actions, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
        dropAction = event.dropAction();
        // The files are taken in once the drop has been answered.
        QCoreApplication::processEvents();
        return event.isAccepted();
    }

    QTemporaryDir root;
    FileList list;
    FileListView view{list};
    Qt::DropAction enterAction = Qt::IgnoreAction;
    Qt::DropAction dropAction = Qt::IgnoreAction;
};

TEST_F(FileListViewDropTest, FileFolderAndFileLandInThatOrder) {
    const QString first = make("one.txt");
    make("folder/inner.txt");
    make("folder/deeper/deepest.txt");
    const QString last = make("two.txt");
    std::unique_ptr<QMimeData> data(filesData({first, root.filePath("folder"), last}));

    EXPECT_TRUE(dragEnter(data.get()));
    EXPECT_TRUE(drop(data.get()));

    EXPECT_EQ(list.paths(), QStringList({first, root.filePath("folder/inner.txt"),
                                         root.filePath("folder/deeper/deepest.txt"), last}));
    // The source is told its files were copied, never moved.
    EXPECT_EQ(enterAction, Qt::CopyAction);
    EXPECT_EQ(dropAction, Qt::CopyAction);
}

TEST_F(FileListViewDropTest, PlainTextIsRefused) {
    std::unique_ptr<QMimeData> data(textData(make("named.txt")));
    EXPECT_FALSE(dragEnter(data.get()));
    EXPECT_FALSE(drop(data.get()));
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(FileListViewDropTest, AMoveOnlyDragIsRefused) {
    std::unique_ptr<QMimeData> data(filesData({make("moved.txt")}));
    EXPECT_FALSE(dragEnter(data.get(), Qt::MoveAction));
    EXPECT_FALSE(drop(data.get(), Qt::MoveAction));
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(FileListViewDropTest, DroppedFilesFollowTheEntriesAlreadyThere) {
    list.addMany({"/x/first", "/x/second"});
    view.selectPosition(2);
    const QString file = make("third.txt");
    std::unique_ptr<QMimeData> data(filesData({file}));
    ASSERT_TRUE(dragEnter(data.get()));
    ASSERT_TRUE(drop(data.get()));
    EXPECT_EQ(list.paths(), QStringList({"/x/first", "/x/second", file}));
    EXPECT_EQ(view.Selected(), 2);
}

// Taking drops must not disturb moving entries about inside the list.
TEST_F(FileListViewDropTest, ReorderingByDraggingStillWorks) {
    list.addMany({"A", "B", "C"});
    const auto rowCentre = [this](int position) {
        return QPoint(10, view.visualRect(list.index(position - 1, 0)).center().y());
    };
    const auto send = [this](QEvent::Type type, QPoint at, Qt::MouseButton button,
                             Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), QPointF(view.viewport()->mapToGlobal(at)), button,
                          held, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
    };
    send(QEvent::MouseButtonPress, rowCentre(1), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, rowCentre(2), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, rowCentre(3), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, rowCentre(3), Qt::LeftButton, Qt::NoButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(list.paths(), QStringList({"B", "C", "A"}));
}

} // namespace
} // namespace velmora
