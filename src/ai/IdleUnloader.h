#pragma once

#include "ai/LLMClient.h"
#include "support/Clock.h"

#include <map>
#include <memory>

namespace nolvea {

// Frees local models a minute after the last request to them ended. Main thread only.
class IdleUnloader {
public:
    static constexpr Clock::Duration idlePeriod{60'000};

    static IdleUnloader& shared();

    // One more request in flight for `client`; a pending unload is called off.
    void begin(const LLMClient& client);
    // One request fewer; with none left, the unload is armed.
    void end();

    int inFlight() const { return m_inFlight; }
    bool isArmed() const { return m_timer && m_timer->isActive(); }

private:
    void unloadAll();

    int m_inFlight = 0;
    std::unique_ptr<ClockTimer> m_timer;
    std::map<QString, LLMClient> m_clients; // by provider|base|model
};

} // namespace nolvea
