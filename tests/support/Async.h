#pragma once

#include <qcoro/qcorotask.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>

#include <exception>
#include <functional>
#include <optional>
#include <type_traits>

namespace nolvea::test {

namespace detail {
// QCoro's waitFor never leaves its loop when the task throws: catch inside, rethrow outside.
template <typename T>
QCoro::Task<std::optional<T>> captured(QCoro::Task<T> task, std::exception_ptr* error) {
    try {
        co_return co_await std::move(task);
    } catch (...) {
        *error = std::current_exception();
    }
    co_return std::nullopt;
}
inline QCoro::Task<bool> captured(QCoro::Task<void> task, std::exception_ptr* error) {
    try {
        co_await std::move(task);
    } catch (...) {
        *error = std::current_exception();
    }
    co_return true;
}
} // namespace detail

// Runs the event loop until the task finishes and returns its result (or rethrows).
template <typename T> T await(QCoro::Task<T>&& task) {
    std::exception_ptr error;
    auto result = QCoro::waitFor(detail::captured(std::move(task), &error));
    if (error) std::rethrow_exception(error);
    if constexpr (!std::is_void_v<T>) return std::move(*result);
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
