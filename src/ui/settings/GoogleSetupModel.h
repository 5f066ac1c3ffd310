#pragma once

#include "mcp/MCPServerConfig.h"

#include <QSet>
#include <QString>

#include <optional>
#include <vector>

namespace nolvea::GoogleSetupModel {

struct Service {
    QString id;
    QString title;
    QString symbol;
    int tokens;
    std::optional<QString> note;
};
// The Workspace services, in the order of the grid and of the ids saved.
const std::vector<Service>& services();
QSet<QString> defaultSelection();

// The suffix every OAuth client id of Google carries.
QString clientIDSuffix();

int totalTokens(const QSet<QString>& selected);
// "≈ 6,9 mil tokens a mais no prompt do agente".
QString estimate(int tokens);
// The cost badge of a tile: tokens rounded down to hundreds, " tk".
QString badge(int tokens);
// Fast enough for the agent's prompt.
constexpr int kLightPrompt = 7000;

struct Form {
    QString email;
    QString clientID;
    QString clientSecret;
    QSet<QString> selected;
};
// The first unmet requirement of the form; nothing when it can be saved.
std::optional<QString> missing(const Form& form);
// The selected ids in table order.
QStringList selectedIDs(const QSet<QString>& selected);

// The form as the saved "google" entry has it; the selection stays `current` when the entry
// names no tools.
Form loaded(const MCPServerConfig& entry, const QSet<QString>& current);

} // namespace nolvea::GoogleSetupModel
