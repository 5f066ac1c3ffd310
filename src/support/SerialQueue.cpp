#include "support/SerialQueue.h"

#include <pthread.h>

namespace nolvea {

SerialQueue::SerialQueue(QString label)
    : m_label(std::move(label)) {
    m_thread = std::thread([this] { loop(); });
}

SerialQueue::~SerialQueue() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void SerialQueue::async(std::function<void()> work) {
    {
        std::lock_guard lock(m_mutex);
        m_items.push_back(std::move(work));
    }
    m_wake.notify_one();
}

void SerialQueue::drain() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_items.empty() && !m_running; });
}

void SerialQueue::loop() {
    // Thread names are cut to 15 bytes by the kernel.
    ::pthread_setname_np(::pthread_self(), m_label.toUtf8().left(15).constData());
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_items.empty(); });
        if (m_items.empty()) break; // stopping, nothing left
        auto work = std::move(m_items.front());
        m_items.pop_front();
        m_running = true;
        lock.unlock();
        work();
        lock.lock();
        m_running = false;
        if (m_items.empty()) m_idle.notify_all();
    }
    m_idle.notify_all();
}

} // namespace nolvea
