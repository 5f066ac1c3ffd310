#pragma once

#include <QString>

namespace nolvea::test {

// Every test process runs in a fresh home of its own: HOME and the XDG folders point into a
// temporary folder made before anything reads them, and removed when the process ends.
void prepareEnvironment();
void cleanEnvironment();

// The temporary home of this process.
QString home();
// A file of the test data shipped with the sources (tests/data/...).
QString dataFile(const QString& relative);

} // namespace nolvea::test
