#include "support/VirtualMicrophone.h"

#include <QProcess>

namespace nolvea::test {

namespace {
QStringList arguments(const QString& rawFile) {
    return {QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
            QStringLiteral("--rate=16000"), QStringLiteral("--channels=1"),
            // A null sink with no stream asking for low latency renders in blocks of seconds,
            // and its monitor, the microphone, hands them on just as late.
            QStringLiteral("--latency-msec=20"),
            QStringLiteral("--device=") + qEnvironmentVariable("NOLVEA_TEST_SINK"), rawFile};
}
} // namespace

bool VirtualMicrophone::isAvailable() {
    return qEnvironmentVariableIsSet("PULSE_SERVER") &&
           qEnvironmentVariableIsSet("NOLVEA_TEST_SINK");
}

bool VirtualMicrophone::play(const QString& rawFile) {
    return QProcess::startDetached(QStringLiteral("paplay"), arguments(rawFile));
}

bool VirtualMicrophone::playAndWait(const QString& rawFile) {
    return QProcess::execute(QStringLiteral("paplay"), arguments(rawFile)) == 0;
}

} // namespace nolvea::test
