#include "ui/onboarding/AIStepModel.h"

#include "ui/settings/AIPaneModel.h"

namespace nolvea::AIStepModel {

const std::vector<Family>& families() {
    static const std::vector<Family> all{Family::local, Family::account, Family::cloud};
    return all;
}

FamilyLook look(Family family) {
    switch (family) {
    case Family::local:
        return {QStringLiteral("desktopcomputer"), QStringLiteral("No seu Mac"),
                QStringLiteral("Grátis e privado")};
    case Family::account:
        return {QStringLiteral("person.crop.circle.badge.checkmark"),
                QStringLiteral("Sua assinatura"), QStringLiteral("Claude ou ChatGPT")};
    case Family::cloud:
        return {QStringLiteral("cloud.fill"), QStringLiteral("Na nuvem"),
                QStringLiteral("Com chave de API")};
    }
    return {};
}

const std::vector<AIProvider>& providers(Family family) {
    static const std::vector<AIProvider> local{AIProvider::lmStudio, AIProvider::ollama,
                                               AIProvider::custom};
    static const std::vector<AIProvider> account{AIProvider::claudeAccount,
                                                 AIProvider::chatgptAccount};
    static const std::vector<AIProvider> cloud{AIProvider::groq, AIProvider::gemini,
                                               AIProvider::openRouter, AIProvider::openAI,
                                               AIProvider::anthropic};
    switch (family) {
    case Family::local:
        return local;
    case Family::account:
        return account;
    case Family::cloud:
        return cloud;
    }
    return local;
}

Family familyOf(AIProvider provider) {
    for (Family f : families())
        for (AIProvider p : providers(f))
            if (p == provider) return f;
    return Family::local;
}

QString chipName(AIProvider provider) {
    switch (provider) {
    case AIProvider::lmStudio:
        return QStringLiteral("LM Studio");
    case AIProvider::ollama:
        return QStringLiteral("Ollama");
    case AIProvider::custom:
        return QStringLiteral("Outro servidor");
    case AIProvider::claudeAccount:
        return QStringLiteral("Claude");
    case AIProvider::chatgptAccount:
        return QStringLiteral("ChatGPT");
    case AIProvider::groq:
        return QStringLiteral("Groq");
    case AIProvider::gemini:
        return QStringLiteral("Gemini");
    case AIProvider::openRouter:
        return QStringLiteral("OpenRouter");
    case AIProvider::openAI:
        return QStringLiteral("OpenAI");
    case AIProvider::anthropic:
        return QStringLiteral("Anthropic");
    }
    return {};
}

std::optional<AIProvider> choose(Family family, AIProvider current, const Detected& detected) {
    if (family == familyOf(current)) return std::nullopt;
    if (family != Family::local) return providers(family).front();
    for (AIProvider p : providers(Family::local))
        if (detected.contains(p)) return p;
    return AIProvider(AIProvider::lmStudio);
}

std::optional<QString> foundBadge(const Detected& detected) {
    const auto n = detected.size();
    if (n == 0) return std::nullopt;
    return QString::number(n) + QStringLiteral(" encontrado") +
           (n >= 2 ? QStringLiteral("s") : QString()) + QStringLiteral(" no Mac");
}

std::optional<AIProvider> automaticSwitch(bool completedOnboarding, AIConnection connection,
                                          AIProvider current, const Detected& detected) {
    if (completedOnboarding || connection != AIConnection::offline || detected.contains(current))
        return std::nullopt;
    for (AIProvider p : providers(Family::local))
        if (detected.contains(p)) return p;
    return std::nullopt;
}

std::optional<QString> pickModel(AIProvider provider, const QString& model,
                                 const QStringList& models) {
    if (!model.isEmpty() && !provider.isLocal()) return std::nullopt;
    if (!model.isEmpty() && models.contains(model)) return std::nullopt;
    if (models.isEmpty()) return std::nullopt;
    return models.first();
}

QString statusTitle(AIConnection connection, const QString& statusTitle, const QString& model,
                    const QStringList& models) {
    switch (connection) {
    case AIConnection::offline:
    case AIConnection::sleeping:
        return statusTitle;
    case AIConnection::unknown:
    case AIConnection::checking:
        return QStringLiteral("Verificando…");
    case AIConnection::online:
        if (model.isEmpty()) return QStringLiteral("Conectado · escolha um modelo");
        if (!models.isEmpty() && !models.contains(model))
            return QStringLiteral("Conectado, mas o modelo não foi encontrado");
        return statusTitle;
    }
    return statusTitle;
}

QString modelDetail(AIProvider provider, const QStringList& models) {
    if (!models.isEmpty()) {
        const auto n = models.size();
        return QString::number(n) + QStringLiteral(" disponíve") +
               (n == 1 ? QStringLiteral("l") : QStringLiteral("is"));
    }
    if (provider == AIProvider::lmStudio || provider == AIProvider::ollama)
        return QStringLiteral("Baixe um modelo no ") + chipName(provider);
    return QStringLiteral("Digite o nome do modelo");
}

QString testResult(const QString& cleaned, std::optional<double> latency) {
    QString text = AIPaneModel::quoted(cleaned);
    if (latency) text += QStringLiteral(" · ") + AIPaneModel::latencyText(*latency);
    return text;
}

std::optional<QString> keyLinkText(AIProvider provider) {
    switch (provider) {
    case AIProvider::openRouter:
    case AIProvider::groq:
    case AIProvider::gemini:
        return QStringLiteral("Criar chave grátis");
    case AIProvider::openAI:
    case AIProvider::anthropic:
        return QStringLiteral("Criar chave");
    default:
        return std::nullopt;
    }
}

} // namespace nolvea::AIStepModel
