#include "CopyResults.h"
#include "ActionsFixture.h"
#include "ClipboardRetry.h"
#include "ColumnList.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace velmora {
namespace {

const QString kCopied = QStringLiteral("Results have been copied to the clipboard.\r\rClick a "
                                       "text area where you normally type and press Ctrl+V to "
                                       "paste the clipboard.");

// Records whether the window showed the hourglass while each message was up.
class PointerWatchingMessages : public testing::FakeMessageBoxes {
public:
    Answer show(const QString& text, Buttons buttons, Icon icon, const QString& title) override {
        busyWhileShown.push_back(window && window->pointer().isBusy());
        return FakeMessageBoxes::show(text, buttons, icon, title);
    }
    Form2* window = nullptr;
    std::vector<bool> busyWhileShown;
};

class CopyResultsTest : public ::testing::Test {
protected:
    void SetUp() override { watching.window = &form; }

    void copy() { form.PushButton18().click(); }

    testing::TestServices fakes;
    PointerWatchingMessages watching;
    Services services{watching,        fakes.fileDialogs, fakes.folderBrowser,
                      fakes.clipboard, fakes.shell,       fakes.services().applicationFolder};
    Form2 form{services, [] {}, [] {}};
    testing::FakeClipboard& clipboard = fakes.clipboard;
};

TEST_F(CopyResultsTest, EveryRowTickedOrNotIsOneLineWithNothingTrailing) {
    form.resultsList().setRows({{QStringLiteral("/a/first.txt"), false},
                                {QStringLiteral("/b.txt"), true},
                                {QStringLiteral("/c/d/third.txt"), true}});
    copy();
    EXPECT_EQ(clipboard.text, QStringLiteral("/a/first.txt\r\n/b.txt\r\n/c/d/third.txt\r\n"));
    EXPECT_EQ(clipboard.clears, 1);
    EXPECT_EQ(clipboard.sets, 1);
    EXPECT_EQ(watching.texts(), QStringList{kCopied});
    EXPECT_EQ(watching.shown[0].buttons, MessageBoxes::Buttons::Ok);
    EXPECT_EQ(watching.busyWhileShown, std::vector<bool>{true});
    EXPECT_FALSE(form.pointer().isBusy());
}

TEST_F(CopyResultsTest, AnEmptyListLeavesTheClipboardAloneButStillConfirms) {
    clipboard.text = QStringLiteral("what the user copied before");
    copy();
    EXPECT_EQ(clipboard.text, QStringLiteral("what the user copied before"));
    EXPECT_EQ(clipboard.clearAttempts, 0);
    EXPECT_EQ(clipboard.setAttempts, 0);
    EXPECT_EQ(watching.texts(), QStringList{kCopied});
    EXPECT_FALSE(form.pointer().isBusy());
}

TEST_F(CopyResultsTest, ABusyClipboardIsRetriedUntilItTakesTheText) {
    form.resultsList().setRows({{QStringLiteral("/x"), true}});
    clipboard.failingClears = 3;
    clipboard.failingSets = 999; // the last permitted attempt succeeds
    copy();
    EXPECT_EQ(clipboard.clearAttempts, 4);
    EXPECT_EQ(clipboard.setAttempts, 1000);
    EXPECT_EQ(clipboard.text, QStringLiteral("/x\r\n"));
    EXPECT_EQ(watching.texts(), QStringList{kCopied});
}

TEST_F(CopyResultsTest, AClipboardThatNeverFreesUpIsGivenUpSilently) {
    form.resultsList().setRows({{QStringLiteral("/x"), true}});
    clipboard.text = QStringLiteral("old");
    clipboard.failingClears = 5000;
    clipboard.failingSets = 5000;
    copy();
    EXPECT_EQ(clipboard.clearAttempts, 1000);
    EXPECT_EQ(clipboard.setAttempts, 1000);
    EXPECT_EQ(clipboard.text, QStringLiteral("old"));
    EXPECT_EQ(watching.texts(), QStringList{kCopied}); // no error message
    EXPECT_FALSE(form.pointer().isBusy());

    testing::FakeClipboard refusing;
    refusing.failingSets = 1000;
    EXPECT_FALSE(SetClipboardText(refusing, QStringLiteral("t")));
    refusing.failingSets = 999;
    refusing.setAttempts = 0;
    EXPECT_TRUE(SetClipboardText(refusing, QStringLiteral("t")));
}

// A save lets the window system in now and then; a click arriving meanwhile must not
// start a second action on the list the save is still reading.
TEST_F(CopyResultsTest, NoActionStartsWhileTheWindowIsBusy) {
    form.resultsList().setRows({{QStringLiteral("/x"), true}});
    form.pointer().setBusy();
    fakes.fileDialogs.saveAnswers.push_back(QStringLiteral("/never/written.txt"));
    form.PushButton2().click();
    form.PushButton6().click();
    form.PushButton18().click();
    form.UndoLastTrash();
    EXPECT_TRUE(watching.shown.empty());
    EXPECT_TRUE(fakes.fileDialogs.saveAsked.empty());
    EXPECT_TRUE(fakes.shell.recycleRequests.empty());
    EXPECT_EQ(clipboard.setAttempts, 0);
    EXPECT_EQ(form.resultsList().Count(), 1);
    EXPECT_TRUE(form.pointer().isBusy());
}

// Two columns: the first padded to its widest field (headers do not count) and followed
// by a tab; the last one bare.
class TwoColumns : public ColumnList {
public:
    int columnCount() const override { return 2; }
    QString headerText(int column) const override {
        return column == 0 ? QStringLiteral("A long header") : QStringLiteral("B");
    }
    int rowCount() const override { return 2; }
    QString field(int row, int column) const override {
        static const QString fields[2][2] = {{QStringLiteral("ab"), QStringLiteral("c")},
                                             {QStringLiteral("defg"), QStringLiteral("hi")}};
        return fields[row][column];
    }
    bool checked(int) const override { return false; }
};

TEST(CopyListview, TwoColumnsArePaddedAndSeparatedByATab) {
    testing::FakeClipboard clipboard;
    CopyListviewToClipboard(TwoColumns(), clipboard);
    EXPECT_EQ(clipboard.text, QStringLiteral("ab  \tc\r\ndefg\thi\r\n"));
}

} // namespace
} // namespace velmora
