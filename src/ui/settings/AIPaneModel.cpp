#include "ui/settings/AIPaneModel.h"

namespace nolvea::AIPaneModel {

namespace {
bool isAccount(AIProvider p) {
    return p == AIProvider::claudeAccount || p == AIProvider::chatgptAccount;
}
} // namespace

const std::vector<ProviderGroup>& providerGroups() {
    static const std::vector<ProviderGroup> groups = [] {
        std::vector<ProviderGroup> g{{QStringLiteral("No seu Mac"), {}},
                                     {QStringLiteral("Com a sua conta"), {}},
                                     {QStringLiteral("Na nuvem, com chave de API"), {}}};
        for (AIProvider p : AIProvider::allCases())
            g[p.isLocal() ? 0 : isAccount(p) ? 1 : 2].providers.push_back(p);
        return g;
    }();
    return groups;
}

ProviderLook look(AIProvider p) {
    ProviderLook l;
    l.localityDetail = p.isLocal()    ? QStringLiteral("Roda no seu Mac, de graça")
                       : isAccount(p) ? QStringLiteral("Usa a sua assinatura, sem chave de API")
                                      : QStringLiteral("Roda na nuvem do provedor");
    l.account = isAccount(p);
    l.key = p.needsKey() || p == AIProvider::custom;
    l.keyDetail = p == AIProvider::custom ? QStringLiteral("Opcional · guardada só no seu Mac")
                                          : QStringLiteral("Guardada só no seu Mac");
    l.keyLink = !p.keyPage().isEmpty();
    l.address = !isAccount(p);
    l.addressDetail = p == AIProvider::anthropic ? QStringLiteral("API da Anthropic")
                                                 : QStringLiteral("API compatível com OpenAI");
    l.addressPlaceholder = p.defaultServerURL();
    return l;
}

std::vector<ModelEntry> modelEntries(const QStringList& models, const QString& current) {
    std::vector<ModelEntry> out;
    if (current.isEmpty())
        out.push_back({QStringLiteral("Escolha um modelo…"), QString()});
    else if (!models.contains(current))
        out.push_back({current, current});
    for (const QString& m : models)
        out.push_back({m, m});
    return out;
}

QString latencyText(double seconds) {
    return QString::asprintf("%.1f s", seconds);
}

QString unsavedKeyText(const FileWriteError& error) {
    return QStringLiteral("A chave não foi salva. ") + error.message();
}

QString quoted(const QString& text) {
    return QStringLiteral("\u201C") + text + QStringLiteral("\u201D");
}

std::optional<QString> dictationFooter(AIProvider provider) {
    if (provider != AIProvider::lmStudio) return std::nullopt;
    return QStringLiteral("O raciocínio do modelo fica desligado (reasoning_effort = none): "
                          "respostas ~10× mais rápidas.");
}

} // namespace nolvea::AIPaneModel
