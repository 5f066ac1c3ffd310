#pragma once

#include "core/AIProvider.h"
#include "support/FileWriteError.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace nolvea::AIPaneModel {

struct ProviderGroup {
    QString header;
    std::vector<AIProvider> providers;
};
// The three sections of the provider picker.
const std::vector<ProviderGroup>& providerGroups();

// Which rows the "Provedor" card shows for a provider, and their texts.
struct ProviderLook {
    QString localityDetail;
    bool account = false;
    bool key = false;
    QString keyDetail;
    bool keyLink = false;
    bool address = false;
    QString addressDetail;
    QString addressPlaceholder;
};
ProviderLook look(AIProvider provider);

struct ModelEntry {
    QString label;
    QString value;
    friend bool operator==(const ModelEntry&, const ModelEntry&) = default;
};
// The model picker's entries: "Escolha um modelo…" first when no model is set, the set model
// first when it is not listed, then the listed models.
std::vector<ModelEntry> modelEntries(const QStringList& models, const QString& current);

// "1.3 s"-style, one decimal.
QString latencyText(double seconds);
// Beside the key field when the key could not be stored.
QString unsavedKeyText(const FileWriteError& error);
// A successful clean-up between typographic quotes.
QString quoted(const QString& text);
// The note under the "Ditado" card: only for the local server that reasons by default.
std::optional<QString> dictationFooter(AIProvider provider);

} // namespace nolvea::AIPaneModel
