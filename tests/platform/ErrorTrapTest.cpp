#include "ErrorTrap.h"
#include "FakeMessageBoxes.h"
#include "FileSystem.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace velmora {
namespace {

using testing::FakeMessageBoxes;

TEST(ErrorTrap, ReportsTheFailureWithPlaceAndStep) {
    FakeMessageBoxes messages;
    ErrorTrap trap(messages, QStringLiteral("Form1"), QStringLiteral("PushButton1_Click"));
    trap.step(108, [] { throw std::runtime_error("Disk not ready"); });

    ASSERT_EQ(messages.shown.size(), 1u);
    const FakeMessageBoxes::Shown& box = messages.shown.front();
    EXPECT_EQ(box.text, QStringLiteral("Disk not ready\r\nin Kestrune2021/08/31.Form1."
                                       "PushButton1_Click at line 108\r\rPlease email "
                                       "screenshot of this message to support@velmora.example"));
    EXPECT_EQ(box.title, QStringLiteral("Application Error"));
    EXPECT_EQ(box.icon, MessageBoxes::Icon::Exclamation);
    EXPECT_EQ(box.buttons, MessageBoxes::Buttons::Ok);
}

TEST(ErrorTrap, TheFolderWalkHasItsOwnPrefix) {
    FakeMessageBoxes messages;
    ErrorTrap trap(messages, QStringLiteral("AddFolder"), QStringLiteral("GetSubDirectories2016"),
                   QString::fromLatin1(ErrorTrap::folderWalkPrefix));
    trap.step(106, [] {
        throw RuntimeError(RuntimeError::PermissionDenied, QStringLiteral("Permission denied"));
    });
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown.front().text,
              QStringLiteral("Permission denied\r\nin OrvekTitle2021/08/31.AddFolder."
                             "GetSubDirectories2016 at line 106\r\rPlease email screenshot of "
                             "this message to support@velmora.example"));
}

TEST(ErrorTrap, TheHandlerGoesOnWithItsNextStep) {
    FakeMessageBoxes messages;
    ErrorTrap trap(messages, QStringLiteral("Form1"), QStringLiteral("Form_Load"));
    std::vector<int> ran;
    EXPECT_TRUE(trap.step(100, [&] { ran.push_back(100); }));
    EXPECT_FALSE(trap.step(102, [&] {
        ran.push_back(102);
        throw std::runtime_error("first");
    }));
    EXPECT_TRUE(trap.step(104, [&] { ran.push_back(104); }));
    EXPECT_FALSE(trap.step(106, [] { throw 42; })); // not even an exception class
    EXPECT_TRUE(trap.step(108, [&] { ran.push_back(108); }));

    EXPECT_EQ(ran, (std::vector<int>{100, 102, 104, 108}));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("first\r\n")));
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral(" at line 102\r\r")));
    EXPECT_TRUE(messages.shown[1].text.startsWith(QStringLiteral("Unknown error\r\n")));
    EXPECT_TRUE(messages.shown[1].text.contains(QStringLiteral(" at line 106\r\r")));
}

TEST(ErrorTrap, AFailingConditionGoesOnWithTheGuardedStep) {
    FakeMessageBoxes messages;
    ErrorTrap trap(messages, QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"));
    bool guardedRan = false;
    if (trap.test(102, []() -> bool { throw std::runtime_error("Type mismatch"); }))
        trap.step(104, [&] { guardedRan = true; });
    EXPECT_TRUE(guardedRan);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown.front().text.contains(QStringLiteral("at line 102")));

    // A condition that holds or fails without throwing reports nothing.
    EXPECT_TRUE(trap.test(106, [] { return true; }));
    EXPECT_FALSE(trap.test(108, [] { return false; }));
    EXPECT_EQ(messages.shown.size(), 1u);
}

} // namespace
} // namespace velmora
