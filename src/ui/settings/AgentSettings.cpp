#include "ui/settings/AgentSettings.h"

#include "core/AppSettings.h"
#include "speech/TTSServer.h"
#include "ui/components/SettingRow.h"
#include "ui/components/SettingsCard.h"
#include "ui/settings/AgentToolsCard.h"
#include "ui/settings/Bindings.h"
#include "ui/settings/VoiceSettingsCard.h"

#include <QVBoxLayout>

namespace nolvea {

AgentSettings::AgentSettings(QWidget* parent)
    : QWidget(parent) {
    AppSettings& s = AppSettings::shared();
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(22);
    auto* card = new SettingsCard(QStringLiteral("Modo agente"));
    card->add(new SettingRow(QStringLiteral("Ativar agente"),
                             QStringLiteral("Segure a tecla de ativação + ⌃ Control e peça uma "
                                            "tarefa"),
                             Bindings::toggle(s, &AppSettings::agentEnabled,
                                              &AppSettings::setAgentEnabled,
                                              &AppSettings::agentEnabledChanged)));
    card->addDivider();
    card->add(new SettingRow(QStringLiteral("Confirmar antes de agir"),
                             QStringLiteral("Mostra um cartão com ⏎ Confirmar / esc Cancelar "
                                            "antes de ações com efeito"),
                             Bindings::toggle(s, &AppSettings::confirmActions,
                                              &AppSettings::setConfirmActions,
                                              &AppSettings::confirmActionsChanged)));
    stack->addWidget(card);
    stack->addWidget(new VoiceSettingsCard(s, TTSServer::shared()));
    stack->addWidget(new AgentToolsCard);
}

} // namespace nolvea
