#pragma once

#include <functional>
#include <memory>

namespace nolvea {

// A shared cancellation flag: copies observe the same state. Work checks it at its
// cancellation points (`check()` throws `Cancelled`) and may register a callback that
// aborts what is under way (a network reply, a child process).
class CancelToken {
public:
    CancelToken();

    void cancel() const;
    bool isCancelled() const;
    // Throws `Cancelled` when cancelled.
    void check() const;

    // Unregisters its callback when destroyed.
    class Registration {
    public:
        Registration() = default;
        ~Registration();
        Registration(Registration&& other) noexcept;
        Registration& operator=(Registration&& other) noexcept;
        Registration(const Registration&) = delete;
        Registration& operator=(const Registration&) = delete;

    private:
        friend class CancelToken;
        Registration(std::weak_ptr<void> state, int id);
        std::weak_ptr<void> m_state;
        int m_id = 0;
    };

    // `callback` runs once, on the thread that cancels (at once when already cancelled).
    [[nodiscard]] Registration onCancel(std::function<void()> callback) const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace nolvea
