#include "ClipboardText.h"
#include "ClipboardRetry.h"

#include "TableFixture.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>
#include <vector>

namespace velmora {
namespace {

using testing::TableFixture;

// Refuses a given number of attempts (or throws on them) before it gives in, and records
// what it was asked, in order.
class BusyClipboard : public Clipboard {
public:
    int refusals = 0;
    bool throwWhenBusy = false;
    QStringList calls;
    QString text = "previous";

    bool clear() override {
        calls << "clear";
        if (!available())
            return false;
        text.clear();
        return true;
    }
    bool setText(const QString& newText) override {
        calls << "set";
        if (!available())
            return false;
        text = newText;
        return true;
    }

private:
    bool available() {
        if (refusals <= 0)
            return true;
        --refusals;
        if (throwWhenBusy)
            throw std::runtime_error("clipboard is busy");
        return false;
    }
};

TEST(ClipboardText, OneLinePerRowTickedOrNot) {
    const auto list = TableFixture::files(
        {{"C:\\a\\one.txt", true}, {"C:\\b.txt", false}, {"C:\\longer\\three.txt", true}});
    EXPECT_EQ(clipboardText(list),
              QString("C:\\a\\one.txt\r\nC:\\b.txt\r\nC:\\longer\\three.txt\r\n"));
}

TEST(ClipboardText, ColumnsArePaddedOverRowsOnlyAndTheLastFieldStandsAlone) {
    const TableFixture list({"Header much longer", "Second header"},
                            {{{"ab", "c"}, false}, {{"abcd", "ef"}, true}});
    EXPECT_EQ(clipboardText(list), QString("ab  \tc\r\nabcd\tef\r\n"));

    const TableFixture emptyLast({"A", "B", "C"},
                                 {{{"x", "", ""}, false}, {{"", "yy", ""}, false}});
    EXPECT_EQ(clipboardText(emptyLast), QString("x\t  \t\r\n \tyy\t\r\n"));
}

TEST(ClipboardText, EmptyListGivesNoText) {
    EXPECT_EQ(clipboardText(TableFixture::files({})), QString());
}

TEST(ClipboardText, BlanksThatBelongToAPathAreKept) {
    const auto list = TableFixture::files({{"/tmp/name ", false}, {"/tmp/a", true}, {" ", false}});
    EXPECT_EQ(clipboardText(list), QString("/tmp/name \r\n/tmp/a\r\n \r\n"));

    const TableFixture twoColumns({"A", "B"}, {{{"a ", "b  "}, false}, {{"abc", "d"}, false}});
    EXPECT_EQ(clipboardText(twoColumns), QString("a  \tb  \r\nabc\td\r\n"));
}

TEST(ClipboardText, DeviceGetsTheSameBytesAsTheString) {
    std::vector<std::pair<QString, bool>> paths;
    for (int row = 0; row < 30000; ++row)
        paths.emplace_back(QStringLiteral("/daten/ordner%1/datei-%2.txt").arg(row % 13).arg(row),
                           row % 2 == 0);
    const auto list = TableFixture::files(paths);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writeClipboardText(list, buffer).ok);
    EXPECT_EQ(buffer.data(), clipboardText(list).toUtf8());
    EXPECT_TRUE(
        buffer.data().startsWith("/daten/ordner0/datei-0.txt\r\n/daten/ordner1/datei-1.txt\r\n"));
}

TEST(ClipboardRetry, BusyClipboardIsRetriedUntilItIsFree) {
    BusyClipboard clipboard;
    clipboard.refusals = 999;
    EXPECT_TRUE(SetClipboardText(clipboard, "hello"));
    EXPECT_EQ(clipboard.calls.size(), 1000);
    EXPECT_EQ(clipboard.text, QString("hello"));

    clipboard.calls.clear();
    EXPECT_TRUE(SetClipboardText(clipboard, "again"));
    EXPECT_EQ(clipboard.calls.size(), 1) << "a free clipboard takes one attempt";
}

TEST(ClipboardRetry, GivesUpAfterAThousandAttempts) {
    BusyClipboard clipboard;
    clipboard.refusals = 1000;
    EXPECT_FALSE(SetClipboardText(clipboard, "hello"));
    EXPECT_EQ(clipboard.calls.size(), 1000);
    EXPECT_EQ(clipboard.text, QString("previous"));

    clipboard.refusals = 5000;
    clipboard.calls.clear();
    ClearClipboard(clipboard);
    EXPECT_EQ(clipboard.calls.size(), 1000);
    EXPECT_EQ(clipboard.text, QString("previous"));
}

TEST(ClipboardRetry, AttemptsThatThrowCountAsFailedAttempts) {
    BusyClipboard clipboard;
    clipboard.throwWhenBusy = true;
    clipboard.refusals = 10;
    EXPECT_NO_THROW(ClearClipboard(clipboard));
    EXPECT_EQ(clipboard.calls.size(), 11);
    EXPECT_EQ(clipboard.text, QString());

    clipboard.refusals = 1000;
    bool placed = true;
    EXPECT_NO_THROW(placed = SetClipboardText(clipboard, "x"));
    EXPECT_FALSE(placed);
}

TEST(CopyListviewToClipboard, ClearsThenSetsTheRows) {
    BusyClipboard clipboard;
    clipboard.refusals = 3;
    CopyListviewToClipboard(TableFixture::files({{"/a", false}, {"/b", true}}), clipboard);
    EXPECT_EQ(clipboard.calls, (QStringList{"clear", "clear", "clear", "clear", "set"}));
    EXPECT_EQ(clipboard.text, QString("/a\r\n/b\r\n"));
}

TEST(CopyListviewToClipboard, EmptyListLeavesTheClipboardAlone) {
    BusyClipboard clipboard;
    CopyListviewToClipboard(TableFixture::files({}), clipboard);
    EXPECT_TRUE(clipboard.calls.isEmpty());
    EXPECT_EQ(clipboard.text, QString("previous"));
}

} // namespace
} // namespace velmora
