#pragma once

#include "agent/Confirmation.h"
#include "core/ActionPreview.h"

#include <QString>
#include <qcoro/qcorotask.h>

namespace nolvea {

// What the agent loop asks of its front end during a run.
class AgentUI {
public:
    virtual ~AgentUI() = default;
    // Right before a tool runs (or is simulated): its progress text.
    virtual void agentProgress(const QString& text) = 0;
    // An action awaits the person's answer; never throws.
    virtual QCoro::Task<Confirmation> agentConfirm(ActionPreview preview) = 0;
    // A known tool is about to be handled, before any confirmation: its symbol.
    virtual void agentTool(const QString& symbol) = 0;
};

} // namespace nolvea
