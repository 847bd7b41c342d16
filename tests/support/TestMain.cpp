// Test entry shared by every test executable: GoogleTest inside a QApplication, headless.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // ctest passes a list of variables that gtest's discovery splits, keeping only the first.
    if (qEnvironmentVariableIsEmpty("WENOGLAD_BIN_DIR"))
        qputenv("WENOGLAD_BIN_DIR", WENOGLAD_BUILD_DIR);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
