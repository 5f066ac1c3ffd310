#pragma once

#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace nolvea {

// Work items run one after another, in submission order, on one background thread of their
// own. Destroying the queue runs what is still queued, then ends the thread.
class SerialQueue {
public:
    explicit SerialQueue(QString label);
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    void async(std::function<void()> work);
    // Blocks until every item submitted before this call has run.
    void drain();

private:
    void loop();

    QString m_label;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::function<void()>> m_items;
    bool m_running = false;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace nolvea
