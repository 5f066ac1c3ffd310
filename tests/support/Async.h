#pragma once

#include <qcoro/qcorotask.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

#include <functional>

namespace nolvea::test {

// Runs the event loop until the task finishes and returns its result (or rethrows).
template <typename T> T await(QCoro::Task<T>&& task) {
    return QCoro::waitFor(std::move(task));
}

// Runs the event loop until `done` holds or `ms` pass; returns whether it held.
inline bool spinUntil(const std::function<bool()>& done, int ms = 10000) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

} // namespace nolvea::test
