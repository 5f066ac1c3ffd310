#pragma once

#include <QString>

#include <gtest/gtest.h>

namespace nolvea::test {

// Every test process runs in a home of its own: HOME and the XDG folders point into a
// temporary folder made before anything reads them, and removed when the process ends. Each
// test starts with that home emptied (FreshHome), so no test sees another's files.
void prepareEnvironment();
void cleanEnvironment();

// Empties the home before each test; the test programs' main installs it.
class FreshHome final : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override;
};

// The temporary home of this process.
QString home();
// A file of the test data shipped with the sources (tests/data/...).
QString dataFile(const QString& relative);

} // namespace nolvea::test
