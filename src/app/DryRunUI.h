#pragma once

#include "agent/AgentUI.h"

#include <QStringList>

namespace nolvea {

// The agent's front end in the developer modes: prints what the menu-bar application would
// show and approves every action by itself, at once.
class DryRunUI final : public AgentUI {
public:
    void agentProgress(const QString& text) override;
    QCoro::Task<Confirmation> agentConfirm(ActionPreview preview) override;
    void agentTool(const QString& symbol) override;

    // The lines a confirmation card prints.
    static QStringList confirmationLines(const ActionPreview& preview);
};

} // namespace nolvea
