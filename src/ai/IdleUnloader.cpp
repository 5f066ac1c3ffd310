#include "ai/IdleUnloader.h"

#include "ai/Vornel.h"
#include "support/Detached.h"

namespace nolvea {

namespace {

QCoro::Task<> unload(LLMClient client) {
    co_await client.unloadModel();
}

} // namespace

IdleUnloader& IdleUnloader::shared() {
    static IdleUnloader unloader;
    return unloader;
}

void IdleUnloader::begin(const LLMClient& client) {
    ++m_inFlight;
    m_timer.reset();
    const QString key = client.provider.rawValue() + u'|' + client.baseURL + u'|' + client.model;
    m_clients.insert_or_assign(key, client);
    // The server's count now, so that its idle check can tell other users' requests apart.
    if (Vornel::matches(client)) Vornel::recordBaseline(client);
}

void IdleUnloader::end() {
    m_inFlight = std::max(0, m_inFlight - 1);
    if (m_inFlight > 0) return;
    m_timer = Clock::shared().schedule(idlePeriod, false, [this] { unloadAll(); });
}

void IdleUnloader::unloadAll() {
    auto clients = std::exchange(m_clients, {});
    for (auto& [key, client] : clients)
        detach(unload(client), QStringLiteral("Descarga do modelo ocioso"));
}

} // namespace nolvea
