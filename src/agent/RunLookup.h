#pragma once

#include <utility>

namespace nolvea {

// Runs a contacts or mail-folder look-up. They read small local folders, so they run in place
// on the caller's thread. Callers must not `co_await` a lambda with captures (g++ 12 destroys
// such a temporary twice): they call this, which returns the value itself.
template <typename F> decltype(auto) runLookup(F&& work) {
    return std::forward<F>(work)();
}

} // namespace nolvea
