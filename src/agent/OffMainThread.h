#pragma once

#include <qcoro/qcorotask.h>

#include <type_traits>

namespace nolvea {

// Runs a contacts or mail-folder look-up for a coroutine. The look-ups read small local
// folders, so they run in place on the caller's thread for now.
template <typename F> auto offMainThread(F work) -> QCoro::Task<std::invoke_result_t<F>> {
    if constexpr (std::is_void_v<std::invoke_result_t<F>>) {
        work();
        co_return;
    } else {
        co_return work();
    }
}

} // namespace nolvea
