#include <QApplication>

#include <gtest/gtest.h>

// One application object for the whole test program: window tests need it, and the
// logic tests do not mind it. The platform is offscreen (set by the test registration).
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
