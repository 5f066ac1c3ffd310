#pragma once

#include "support/Error.h"

#include <QString>
#include <qcoro/qcorotask.h>

#include <exception>

namespace nolvea {

namespace detail {
void logDetachedFailure(const QString& what, std::exception_ptr error);

template <typename T> QCoro::Task<> watchDetached(QCoro::Task<T> task, QString what) {
    try {
        co_await std::move(task);
    } catch (const Cancelled&) {
        // Called off on purpose: nothing failed.
    } catch (...) {
        logDetachedFailure(what, std::current_exception());
    }
}
} // namespace detail

// Lets `task` run on with nobody waiting for it. A failure it ends with is logged under
// `what` instead of vanishing with the task; a cancellation is no failure.
template <typename T> void detach(QCoro::Task<T> task, QString what) {
    detail::watchDetached(std::move(task), std::move(what));
}

} // namespace nolvea
