// main() for window tests: one QApplication for the whole run, created first and
// destroyed last, so no widget outlives it.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // Also when ctest lists the tests, which it does without the tests' environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
