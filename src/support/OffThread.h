#pragma once

#include "support/Promise.h"

#include <QObject>
#include <QThreadPool>
#include <qcoro/qcorotask.h>

#include <exception>
#include <type_traits>

namespace nolvea {

// Runs `work` on the global thread pool and resumes the caller on its own thread, with the
// result or the exception `work` threw. The calling thread needs a running event loop.
template <typename F> auto offThread(F work) -> QCoro::Task<std::invoke_result_t<F>> {
    using R = std::invoke_result_t<F>;
    // Receives the result on the calling thread. It is deleted later, not with this frame:
    // the frame may end inside the call that resumes it, which runs as an event of `home`.
    auto* home = new QObject;
    Promise<R> done;
    QThreadPool::globalInstance()->start([home, done, work = std::move(work)]() mutable {
        std::exception_ptr error;
        if constexpr (std::is_void_v<R>) {
            try {
                work();
            } catch (...) {
                error = std::current_exception();
            }
            QMetaObject::invokeMethod(
                home,
                [home, done, error]() mutable {
                    home->deleteLater();
                    error ? done.reject(error) : done.resolve();
                },
                Qt::QueuedConnection);
        } else {
            std::optional<R> value;
            try {
                value.emplace(work());
            } catch (...) {
                error = std::current_exception();
            }
            QMetaObject::invokeMethod(
                home,
                [home, done, error, value = std::move(value)]() mutable {
                    home->deleteLater();
                    error ? done.reject(error) : done.resolve(std::move(*value));
                },
                Qt::QueuedConnection);
        }
    });
    co_return co_await done;
}

} // namespace nolvea
