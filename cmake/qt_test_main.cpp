// main() of every Qt test program: an offscreen QApplication around the GoogleTest run,
// so the tests draw the same pixels with or without a display.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char **argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
