#pragma once

#include <QByteArray>
#include <QString>

namespace nolvea {

// What one run of an account tool left behind. A non-zero status is not an error here.
struct BridgeRun {
    int status = 0; // the exit code; -1 when the tool died of a signal
    QByteArray out;
    QByteArray err;

    // The last three non-empty lines of standard error, joined by a blank.
    QString errorText() const;
};

} // namespace nolvea
