#include "ui/onboarding/LocalServerScan.h"

#include "ai/LLMClient.h"
#include "core/AppSettings.h"
#include "core/UserDefaults.h"

#include <utility>

namespace nolvea {

namespace {

QCoro::Task<std::optional<QStringList>> probe(LLMClient client) {
    try {
        co_return co_await client.listModels();
    } catch (...) {
        co_return std::nullopt;
    }
}

} // namespace

QCoro::Task<AIStepModel::Detected> scanLocalServers(UserDefaults& defaults) {
    std::vector<std::pair<AIProvider, QCoro::Task<std::optional<QStringList>>>> probes;
    for (AIProvider p : AIStepModel::providers(AIStepModel::Family::local)) {
        const QString key = AppSettings::serverKey(p);
        // A stored empty address is used as it stands (and fails).
        const QString address = defaults.contains(key) ? defaults.string(key).value_or(QString())
                                                       : p.defaultServerURL();
        probes.emplace_back(p, probe(LLMClient{p, p.apiBase(address), {}, {}}));
    }
    AIStepModel::Detected detected;
    // The three requests are already under way; waiting in turn costs only the slowest.
    for (auto& [provider, task] : probes)
        if (auto models = co_await std::move(task)) detected[provider] = *models;
    co_return detected;
}

} // namespace nolvea
