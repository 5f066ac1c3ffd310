#include "platform/PointerSource.h"

#include <map>
#include <vector>

namespace nolvea {

struct PointerSource::Watch::Hub {
    PointerSource* source = nullptr;
    quint64 nextId = 1;
    std::map<quint64, std::shared_ptr<Listener>> listeners;
};

PointerSource::Watch::~Watch() {
    auto hub = m_hub.lock();
    if (!hub || hub->listeners.erase(m_id) == 0) return;
    if (hub->listeners.empty() && hub->source) hub->source->stopWatching();
}

PointerSource::PointerSource()
    : m_hub(std::make_shared<Watch::Hub>()) {
    m_hub->source = this;
}

PointerSource::~PointerSource() {
    // Watches still held elsewhere find the hub gone; the implementation stopped itself.
    m_hub->source = nullptr;
}

std::unique_ptr<PointerSource::Watch> PointerSource::watch(Listener listener) {
    const quint64 id = m_hub->nextId++;
    const bool first = m_hub->listeners.empty();
    m_hub->listeners.emplace(id, std::make_shared<Listener>(std::move(listener)));
    if (first) startWatching();
    return std::unique_ptr<Watch>(new Watch(m_hub, id));
}

bool PointerSource::isWatched() const {
    return !m_hub->listeners.empty();
}

void PointerSource::publish(const Event& event) {
    std::vector<std::pair<quint64, std::shared_ptr<Listener>>> current(m_hub->listeners.begin(),
                                                                       m_hub->listeners.end());
    const std::weak_ptr<Watch::Hub> hub = m_hub;
    for (const auto& [id, listener] : current) {
        auto alive = hub.lock();
        if (!alive || !alive->listeners.contains(id)) continue;
        (*listener)(event);
    }
}

} // namespace nolvea
