#include "ListButtons.h"
#include "FileList.h"
#include "QStringPrinter.h"
#include "TestServices.h"
#include "WindowPointer.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::TestServices;

class ListButtonsTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.addMany({"/Data/Temp/a.txt", "/Data/Keep/b.txt", "/Data/TEMP/c.txt"});
        // What the pointer showed while the list changed.
        QObject::connect(&list, &FileList::layoutAboutToBeChanged,
                         [this] { busyWhileChanging = pointer.isBusy(); });
    }

    void containing() { PushButton6_Click(services.messages, list, pointer); }
    void notContaining() { PushButton10_Click(services.messages, list, pointer); }

    TestServices services;
    QWidget window;
    WindowPointer pointer{window};
    FileList list;
    std::optional<bool> busyWhileChanging;
};

TEST_F(ListButtonsTest, ContainingAsksWithItsOwnPromptAndFiltersUnderTheHourglass) {
    services.messages.promptAnswers.push_back("temp");
    containing();

    ASSERT_EQ(services.messages.prompted.size(), 1u);
    EXPECT_EQ(services.messages.prompted[0].text, "Remove entries containing: ");
    EXPECT_EQ(services.messages.prompted[0].defaultAnswer, "");
    EXPECT_EQ(services.messages.prompted[0].title, ""); // the application title
    EXPECT_EQ(list.paths(), QStringList{"/Data/Keep/b.txt"});
    EXPECT_EQ(busyWhileChanging, true);
    EXPECT_FALSE(pointer.isBusy());
    EXPECT_TRUE(services.messages.shown.empty());
}

TEST_F(ListButtonsTest, NotContainingKeepsOnlyTheMatchingEntries) {
    services.messages.promptAnswers.push_back("TeMp");
    notContaining();

    ASSERT_EQ(services.messages.prompted.size(), 1u);
    EXPECT_EQ(services.messages.prompted[0].text, "Remove entries not containing: ");
    EXPECT_EQ(list.paths(), QStringList({"/Data/Temp/a.txt", "/Data/TEMP/c.txt"}));
    EXPECT_EQ(busyWhileChanging, true);
    EXPECT_FALSE(pointer.isBusy());
}

TEST_F(ListButtonsTest, CancelledOrEmptyAnswerLeavesListAndPointerAlone) {
    const QStringList before = list.paths();
    containing(); // no queued answer: cancelled
    services.messages.promptAnswers.push_back("");
    notContaining();
    EXPECT_EQ(list.paths(), before);
    EXPECT_FALSE(busyWhileChanging.has_value());
    EXPECT_FALSE(pointer.isBusy());

    // A busy window stays busy: the command never reached its pointer steps.
    pointer.setBusy();
    containing();
    EXPECT_TRUE(pointer.isBusy());
    EXPECT_EQ(list.paths(), before);
}

TEST_F(ListButtonsTest, FiltersRunEvenWhileBusyAndEndWithTheDefaultPointer) {
    pointer.setBusy();
    services.messages.promptAnswers.push_back("keep");
    containing();
    EXPECT_EQ(list.paths(), QStringList({"/Data/Temp/a.txt", "/Data/TEMP/c.txt"}));
    EXPECT_FALSE(pointer.isBusy());
}

TEST_F(ListButtonsTest, ClearListEmptiesTheListUnlessBusy) {
    pointer.setBusy();
    PushButton5_Click(list, pointer);
    EXPECT_EQ(list.Count(), 3);

    pointer.setDefault();
    PushButton5_Click(list, pointer);
    EXPECT_EQ(list.Count(), 0);
    PushButton5_Click(list, pointer); // on an empty list: nothing to see
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(services.messages.shown.empty());
}

} // namespace
} // namespace velmora
