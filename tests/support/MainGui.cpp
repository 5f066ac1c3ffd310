#include "support/TestEnvironment.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
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
    // As the other test programs: the results are written; leave without static destructors
    // (nor the leak check of a sanitized build, which would count every window a test let live).
    // Only our own streams: flushing all would wait on a stream another thread holds (the
    // speech server's connection is read line by line on a thread of its own).
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(rc);
}
