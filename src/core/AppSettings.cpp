#include "core/AppSettings.h"

#include "core/SecretStore.h"
#include "core/UserDefaults.h"

#include <pwd.h>
#include <unistd.h>

namespace nolvea {

QVariantMap AppSettings::registeredDefaults() {
    QVariantMap defaults;
    const Stored stored;
    Stored::forEach(stored, [&](const auto& preference) {
        if (preference.isRegistered())
            defaults.insert(preference.key(), preference.registeredValue());
    });
    return defaults;
}

AppSettings::AppSettings(UserDefaults& defaults, SecretStore& secrets, QObject* parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_secrets(secrets) {
    m_defaults.registerDefaults(registeredDefaults());
    Stored::forEach(m_stored, [&](auto& preference) { preference.load(m_defaults); });
    const AIProvider provider = aiProvider();
    m_serverURL = storedServerURL(provider);
    m_model = storedModel(provider);
    m_apiKey = storedApiKey(provider);
}

AppSettings& AppSettings::shared() {
    static AppSettings* settings = new AppSettings(UserDefaults::standard(), SecretStore::shared());
    return *settings;
}

QString AppSettings::suggestedName(const QString& fullName) {
    const QStringList words = fullName.split(u' ', Qt::SkipEmptyParts);
    return words.isEmpty() ? QString() : words.first();
}

QString AppSettings::suggestedName() {
    // The GECOS field: the full name first, then office and phone after commas.
    const passwd* pw = ::getpwuid(::getuid());
    if (!pw || !pw->pw_gecos) return {};
    return suggestedName(QString::fromUtf8(pw->pw_gecos).section(u',', 0, 0));
}

QString AppSettings::serverKey(AIProvider provider) {
    if (provider == AIProvider::lmStudio) return QStringLiteral("serverURL");
    return QStringLiteral("serverURL.") + provider.rawValue();
}

QString AppSettings::modelKey(AIProvider provider) {
    if (provider == AIProvider::lmStudio) return QStringLiteral("model");
    return QStringLiteral("model.") + provider.rawValue();
}

QString AppSettings::apiKeyKey(AIProvider provider) {
    return QStringLiteral("apikey.") + provider.rawValue();
}

QString AppSettings::storedServerURL(AIProvider provider) const {
    if (!m_defaults.contains(serverKey(provider))) return provider.defaultServerURL();
    return m_defaults.string(serverKey(provider)).value_or(provider.defaultServerURL());
}

QString AppSettings::storedModel(AIProvider provider) const {
    if (!m_defaults.contains(modelKey(provider))) return provider.defaultModel();
    return m_defaults.string(modelKey(provider)).value_or(provider.defaultModel());
}

QString AppSettings::storedApiKey(AIProvider provider) const {
    if (provider.isLocal()) return {};
    return m_secrets.read(apiKeyKey(provider));
}

void AppSettings::loadProviderValues(bool providerChanged) {
    const AIProvider provider = aiProvider();
    const auto replace = [](QString& field, const QString& value) {
        const bool changed = field != value;
        field = value;
        return changed;
    };
    const bool newServer = replace(m_serverURL, storedServerURL(provider));
    const bool newModel = replace(m_model, storedModel(provider));
    const bool newKey = replace(m_apiKey, storedApiKey(provider));
    if (providerChanged) Q_EMIT aiProviderChanged();
    // The failure was of the other provider's key.
    if (providerChanged) setApiKeyError(std::nullopt);
    if (newServer) Q_EMIT serverURLChanged();
    if (newModel) Q_EMIT modelChanged();
    if (newKey) Q_EMIT apiKeyChanged();
}

void AppSettings::setHotkey(HotkeyChoice value) {
    assign(m_stored.hotkey, value, &AppSettings::hotkeyChanged);
}

void AppSettings::setLocaleID(const QString& value) {
    assign(m_stored.localeID, value, &AppSettings::localeIDChanged);
}

void AppSettings::setPlaySounds(bool value) {
    assign(m_stored.playSounds, value, &AppSettings::playSoundsChanged);
}

void AppSettings::setOverlayStyle(OverlayStyle value) {
    assign(m_stored.overlayStyle, value, &AppSettings::overlayStyleChanged);
}

void AppSettings::setHistoryDrawerEnabled(bool value) {
    assign(m_stored.historyDrawerEnabled, value, &AppSettings::historyDrawerEnabledChanged);
}

void AppSettings::setHasCompletedOnboarding(bool value) {
    assign(m_stored.hasCompletedOnboarding, value, &AppSettings::hasCompletedOnboardingChanged);
}

void AppSettings::setUserName(const QString& value) {
    assign(m_stored.userName, value, &AppSettings::userNameChanged);
}

void AppSettings::setAiCleanupEnabled(bool value) {
    assign(m_stored.aiCleanupEnabled, value, &AppSettings::aiCleanupEnabledChanged);
}

void AppSettings::setAiProvider(AIProvider value) {
    const bool changed = m_stored.aiProvider.store(value, m_defaults);
    // Also for the same provider: picks up values another process stored meanwhile.
    loadProviderValues(changed);
}

void AppSettings::setServerURL(const QString& value) {
    const bool changed = m_serverURL != value;
    m_serverURL = value;
    m_defaults.set(serverKey(aiProvider()), value);
    if (changed) Q_EMIT serverURLChanged();
}

void AppSettings::setModel(const QString& value) {
    const bool changed = m_model != value;
    m_model = value;
    m_defaults.set(modelKey(aiProvider()), value);
    if (changed) Q_EMIT modelChanged();
}

void AppSettings::setApiKey(const QString& value) {
    const bool changed = m_apiKey != value;
    m_apiKey = value;
    auto failed = m_secrets.write(value, apiKeyKey(aiProvider()));
    if (changed) Q_EMIT apiKeyChanged();
    setApiKeyError(std::move(failed));
}

void AppSettings::setApiKeyError(std::optional<FileWriteError> error) {
    if (!error && !m_apiKeyError) return;
    m_apiKeyError = std::move(error);
    Q_EMIT apiKeyErrorChanged();
}

void AppSettings::setVocabulary(const QStringList& value) {
    assign(m_stored.vocabulary, value, &AppSettings::vocabularyChanged);
}

void AppSettings::setAgentEnabled(bool value) {
    assign(m_stored.agentEnabled, value, &AppSettings::agentEnabledChanged);
}

void AppSettings::setSpeakAnswers(bool value) {
    assign(m_stored.speakAnswers, value, &AppSettings::speakAnswersChanged);
}

void AppSettings::setVoiceEngine(VoiceEngine value) {
    assign(m_stored.voiceEngine, value, &AppSettings::voiceEngineChanged);
}

void AppSettings::setNeuralVoice(NeuralVoice value) {
    assign(m_stored.neuralVoice, value, &AppSettings::neuralVoiceChanged);
}

void AppSettings::setVoiceIdentifier(const QString& value) {
    assign(m_stored.voiceIdentifier, value, &AppSettings::voiceIdentifierChanged);
}

void AppSettings::setSpeechRate(double value) {
    assign(m_stored.speechRate, value, &AppSettings::speechRateChanged);
}

void AppSettings::setFollowUpMode(FollowUpMode value) {
    assign(m_stored.followUpMode, value, &AppSettings::followUpModeChanged);
}

void AppSettings::setConfirmActions(bool value) {
    assign(m_stored.confirmActions, value, &AppSettings::confirmActionsChanged);
}

} // namespace nolvea
