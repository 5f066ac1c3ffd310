#include "support/CancelToken.h"

#include "support/Error.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace nolvea {

struct CancelToken::State {
    std::atomic<bool> cancelled{false};
    std::mutex mutex;
    int nextID = 1;
    std::vector<std::pair<int, std::function<void()>>> callbacks;

    void remove(int id) {
        std::lock_guard lock(mutex);
        std::erase_if(callbacks, [id](const auto& c) { return c.first == id; });
    }
};

CancelToken::CancelToken()
    : m_state(std::make_shared<State>()) {}

void CancelToken::cancel() const {
    std::vector<std::pair<int, std::function<void()>>> toRun;
    {
        std::lock_guard lock(m_state->mutex);
        if (m_state->cancelled.exchange(true)) return;
        toRun.swap(m_state->callbacks);
    }
    for (auto& [id, fn] : toRun)
        fn();
}

bool CancelToken::isCancelled() const {
    return m_state->cancelled.load();
}

void CancelToken::check() const {
    if (isCancelled()) throw Cancelled();
}

CancelToken::Registration CancelToken::onCancel(std::function<void()> callback) const {
    {
        std::lock_guard lock(m_state->mutex);
        if (!m_state->cancelled) {
            const int id = m_state->nextID++;
            m_state->callbacks.emplace_back(id, std::move(callback));
            return Registration(m_state, id);
        }
    }
    callback();
    return {};
}

CancelToken::Registration::Registration(std::weak_ptr<void> state, int id)
    : m_state(std::move(state))
    , m_id(id) {}

CancelToken::Registration::~Registration() {
    if (auto s = m_state.lock()) static_cast<CancelToken::State*>(s.get())->remove(m_id);
}

CancelToken::Registration::Registration(Registration&& other) noexcept
    : m_state(std::move(other.m_state))
    , m_id(other.m_id) {
    other.m_state.reset();
}

CancelToken::Registration& CancelToken::Registration::operator=(Registration&& other) noexcept {
    if (this != &other) {
        if (auto s = m_state.lock()) static_cast<CancelToken::State*>(s.get())->remove(m_id);
        m_state = std::move(other.m_state);
        m_id = other.m_id;
        other.m_state.reset();
    }
    return *this;
}

} // namespace nolvea
