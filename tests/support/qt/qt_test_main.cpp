#include <gtest/gtest.h>

#include <QApplication>

// The window tests run on Qt's offscreen platform: no display is needed, its
// logical DPI is fixed and its clipboard lives in this process.
int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
