#include "support/Detached.h"

#include "support/Async.h"
#include "support/Promise.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace nolvea;

namespace {

QStringList logged;

void keep(QtMsgType, const QMessageLogContext&, const QString& message) {
    logged << message;
}

QCoro::Task<int> failLater(Promise<> gate, QString why) {
    co_await gate;
    throw std::runtime_error(why.toStdString());
}

TEST(Detached, AFailureNobodyWaitsForIsLoggedWithItsSubject) {
    logged.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keep);
    Promise<> failing, passing, calledOff;
    detach(failLater(failing, "sem rede"), "Aquecimento");
    detach([](Promise<> gate) -> QCoro::Task<> { co_await gate; }(passing), "Outra");
    detach(
        [](Promise<> gate) -> QCoro::Task<> {
            co_await gate;
            throw Cancelled();
        }(calledOff),
        "Cancelada");
    EXPECT_TRUE(logged.isEmpty());
    failing.resolve();
    passing.resolve();
    calledOff.resolve();
    qInstallMessageHandler(previous);
    EXPECT_EQ(logged, QStringList{"Aquecimento: sem rede"});
}

} // namespace
