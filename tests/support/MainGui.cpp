#include "support/TestEnvironment.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    nolvea::test::prepareEnvironment();
    // Only the x11 tests need the display; listing the tests (ctest's discovery) does not.
    if (qEnvironmentVariable("NOLVEA_TEST_KIND") != "x11" &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new nolvea::test::FreshHome);
    const int rc = RUN_ALL_TESTS();
    nolvea::test::cleanEnvironment();
    return rc;
}
