#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    nolvea::test::prepareEnvironment();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new nolvea::test::FreshHome);
    const int rc = RUN_ALL_TESTS();
    nolvea::test::cleanEnvironment();
    // Qt Multimedia's PulseAudio backend (Qt 6.4) can abort in its own static teardown after
    // every test has passed; the results are written, so leave without static destructors.
    // Only our own streams: flushing all would wait on a stream another thread holds (the
    // speech server's connection is read line by line on a thread of its own).
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(rc);
}
