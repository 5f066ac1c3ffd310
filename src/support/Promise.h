#pragma once

#include <coroutine>
#include <exception>
#include <memory>
#include <optional>
#include <utility>

namespace nolvea {

namespace detail {

template <typename T> struct PromiseState {
    std::optional<T> value;
    std::exception_ptr error;
    std::coroutine_handle<> waiter;
    bool done = false;
};

template <> struct PromiseState<void> {
    std::exception_ptr error;
    std::coroutine_handle<> waiter;
    bool done = false;
};

} // namespace detail

// A one-shot awaitable: one coroutine awaits it, someone else settles it exactly once
// (later settlements are ignored and return false). The waiter resumes inline, on the
// thread that settles, so settle it from the thread the waiter belongs to.
template <typename T = void> class Promise {
public:
    Promise()
        : m_state(std::make_shared<detail::PromiseState<T>>()) {}

    template <typename U = T> bool resolve(U&& value) requires(!std::is_void_v<T>) {
        if (m_state->done) return false;
        m_state->value.emplace(std::forward<U>(value));
        return settle();
    }

    bool resolve() requires std::is_void_v<T> {
        if (m_state->done) return false;
        return settle();
    }

    bool reject(std::exception_ptr error) {
        if (m_state->done) return false;
        m_state->error = std::move(error);
        return settle();
    }

    bool isSettled() const { return m_state->done; }
    bool isAwaited() const { return bool(m_state->waiter); }

    auto operator co_await() const {
        struct Awaiter {
            std::shared_ptr<detail::PromiseState<T>> state;
            bool await_ready() const noexcept { return state->done; }
            void await_suspend(std::coroutine_handle<> h) noexcept { state->waiter = h; }
            T await_resume() {
                if (state->error) std::rethrow_exception(state->error);
                if constexpr (!std::is_void_v<T>) return std::move(*state->value);
            }
        };
        return Awaiter{m_state};
    }

private:
    bool settle() {
        m_state->done = true;
        // Keep the state alive across the resume: the waiter may drop its last handle.
        auto keep = m_state;
        if (auto h = std::exchange(keep->waiter, nullptr)) h.resume();
        return true;
    }

    std::shared_ptr<detail::PromiseState<T>> m_state;
};

} // namespace nolvea
