#include "core/AppSettings.h"

#include "core/SecretStore.h"
#include "core/UserDefaults.h"

#include <pwd.h>
#include <unistd.h>

namespace nolvea {

namespace {

const QString kHotkey = QStringLiteral("hotkey");
const QString kLocaleID = QStringLiteral("localeID");
const QString kPlaySounds = QStringLiteral("playSounds");
const QString kOverlayStyle = QStringLiteral("overlayStyle");
const QString kHasCompletedOnboarding = QStringLiteral("hasCompletedOnboarding");
const QString kHistoryDrawerEnabled = QStringLiteral("historyDrawerEnabled");
const QString kUserName = QStringLiteral("userName");
const QString kAiCleanupEnabled = QStringLiteral("aiCleanupEnabled");
const QString kAiProvider = QStringLiteral("aiProvider");
const QString kVocabulary = QStringLiteral("vocabulary");
const QString kAgentEnabled = QStringLiteral("agentEnabled");
const QString kConfirmActions = QStringLiteral("confirmActions");
const QString kSpeakAnswers = QStringLiteral("speakAnswers");
const QString kVoiceEngine = QStringLiteral("voiceEngine");
const QString kNeuralVoice = QStringLiteral("neuralVoice");
const QString kVoiceIdentifier = QStringLiteral("voiceIdentifier");
const QString kSpeechRate = QStringLiteral("speechRate");
const QString kFollowUpMode = QStringLiteral("followUpMode");

template <typename E> E readEnum(const UserDefaults& d, const QString& key, E fallback) {
    const auto text = d.string(key);
    if (!text) return fallback;
    return fromRawValue<E>(*text).value_or(fallback);
}

} // namespace

QVariantMap AppSettings::registeredDefaults() {
    return {
        {kHotkey, QStringLiteral("fn")},
        {kLocaleID, QStringLiteral("pt-BR")},
        {kPlaySounds, true},
        {kOverlayStyle, QStringLiteral("notch")},
        {kHasCompletedOnboarding, false},
        {kHistoryDrawerEnabled, true},
        {kAiCleanupEnabled, true},
        {kAiProvider, QStringLiteral("lmStudio")},
        {kVocabulary, QStringList()},
        {kAgentEnabled, true},
        {kConfirmActions, true},
        {kSpeakAnswers, true},
        {kVoiceEngine, QStringLiteral("apple")},
        {kNeuralVoice, QStringLiteral("kokoroAlex")},
        {kVoiceIdentifier, QString()},
        {kSpeechRate, 1.05},
        {kFollowUpMode, QStringLiteral("whenAsked")},
    };
}

AppSettings::AppSettings(UserDefaults& defaults, SecretStore& secrets, QObject* parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_secrets(secrets) {
    m_defaults.registerDefaults(registeredDefaults());
    const UserDefaults& d = m_defaults;
    m_hotkey = readEnum(d, kHotkey, HotkeyChoice::fn);
    m_localeID = d.string(kLocaleID).value_or(QStringLiteral("pt-BR"));
    m_playSounds = d.boolValue(kPlaySounds);
    m_overlayStyle = readEnum(d, kOverlayStyle, OverlayStyle::notch);
    m_hasCompletedOnboarding = d.boolValue(kHasCompletedOnboarding);
    m_userName = d.string(kUserName).value_or(QString());
    m_historyDrawerEnabled = d.boolValue(kHistoryDrawerEnabled);
    m_aiCleanupEnabled = d.boolValue(kAiCleanupEnabled);
    m_aiProvider = AIProvider::fromRawValue(d.string(kAiProvider).value_or(QString()))
                       .value_or(AIProvider::lmStudio);
    m_serverURL = storedServerURL(m_aiProvider);
    m_model = storedModel(m_aiProvider);
    m_apiKey = storedApiKey(m_aiProvider);
    m_vocabulary = d.stringList(kVocabulary);
    m_agentEnabled = d.boolValue(kAgentEnabled);
    m_confirmActions = d.boolValue(kConfirmActions);
    m_speakAnswers = d.boolValue(kSpeakAnswers);
    m_voiceEngine = readEnum(d, kVoiceEngine, VoiceEngine::apple);
    m_neuralVoice = readEnum(d, kNeuralVoice, NeuralVoice::kokoroAlex);
    m_voiceIdentifier = d.string(kVoiceIdentifier).value_or(QString());
    m_speechRate = d.doubleValue(kSpeechRate);
    m_followUpMode = readEnum(d, kFollowUpMode, FollowUpMode::whenAsked);
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

void AppSettings::loadProviderValues() {
    m_isLoadingProvider = true;
    setServerURL(storedServerURL(m_aiProvider));
    setModel(storedModel(m_aiProvider));
    setApiKey(storedApiKey(m_aiProvider));
    m_isLoadingProvider = false;
}

void AppSettings::setHotkey(HotkeyChoice value) {
    assign(m_hotkey, value, &AppSettings::hotkeyChanged);
    m_defaults.set(kHotkey, rawValue(value));
}

void AppSettings::setLocaleID(const QString& value) {
    assign(m_localeID, value, &AppSettings::localeIDChanged);
    m_defaults.set(kLocaleID, value);
}

void AppSettings::setPlaySounds(bool value) {
    assign(m_playSounds, value, &AppSettings::playSoundsChanged);
    m_defaults.set(kPlaySounds, value);
}

void AppSettings::setOverlayStyle(OverlayStyle value) {
    assign(m_overlayStyle, value, &AppSettings::overlayStyleChanged);
    m_defaults.set(kOverlayStyle, rawValue(value));
}

void AppSettings::setHistoryDrawerEnabled(bool value) {
    assign(m_historyDrawerEnabled, value, &AppSettings::historyDrawerEnabledChanged);
    m_defaults.set(kHistoryDrawerEnabled, value);
}

void AppSettings::setHasCompletedOnboarding(bool value) {
    assign(m_hasCompletedOnboarding, value, &AppSettings::hasCompletedOnboardingChanged);
    m_defaults.set(kHasCompletedOnboarding, value);
}

void AppSettings::setUserName(const QString& value) {
    assign(m_userName, value, &AppSettings::userNameChanged);
    m_defaults.set(kUserName, value);
}

void AppSettings::setAiCleanupEnabled(bool value) {
    assign(m_aiCleanupEnabled, value, &AppSettings::aiCleanupEnabledChanged);
    m_defaults.set(kAiCleanupEnabled, value);
}

void AppSettings::setAiProvider(AIProvider value) {
    assign(m_aiProvider, value, &AppSettings::aiProviderChanged);
    m_defaults.set(kAiProvider, value.rawValue());
    // Also for the same provider: picks up values another process stored meanwhile.
    loadProviderValues();
}

void AppSettings::setServerURL(const QString& value) {
    assign(m_serverURL, value, &AppSettings::serverURLChanged);
    if (!m_isLoadingProvider) m_defaults.set(serverKey(m_aiProvider), value);
}

void AppSettings::setModel(const QString& value) {
    assign(m_model, value, &AppSettings::modelChanged);
    if (!m_isLoadingProvider) m_defaults.set(modelKey(m_aiProvider), value);
}

void AppSettings::setApiKey(const QString& value) {
    assign(m_apiKey, value, &AppSettings::apiKeyChanged);
    if (!m_isLoadingProvider) m_secrets.write(value, apiKeyKey(m_aiProvider));
}

void AppSettings::setVocabulary(const QStringList& value) {
    assign(m_vocabulary, value, &AppSettings::vocabularyChanged);
    m_defaults.set(kVocabulary, value);
}

void AppSettings::setAgentEnabled(bool value) {
    assign(m_agentEnabled, value, &AppSettings::agentEnabledChanged);
    m_defaults.set(kAgentEnabled, value);
}

void AppSettings::setSpeakAnswers(bool value) {
    assign(m_speakAnswers, value, &AppSettings::speakAnswersChanged);
    m_defaults.set(kSpeakAnswers, value);
}

void AppSettings::setVoiceEngine(VoiceEngine value) {
    assign(m_voiceEngine, value, &AppSettings::voiceEngineChanged);
    m_defaults.set(kVoiceEngine, rawValue(value));
}

void AppSettings::setNeuralVoice(NeuralVoice value) {
    assign(m_neuralVoice, value, &AppSettings::neuralVoiceChanged);
    m_defaults.set(kNeuralVoice, rawValue(value));
}

void AppSettings::setVoiceIdentifier(const QString& value) {
    assign(m_voiceIdentifier, value, &AppSettings::voiceIdentifierChanged);
    m_defaults.set(kVoiceIdentifier, value);
}

void AppSettings::setSpeechRate(double value) {
    assign(m_speechRate, value, &AppSettings::speechRateChanged);
    m_defaults.set(kSpeechRate, value);
}

void AppSettings::setFollowUpMode(FollowUpMode value) {
    assign(m_followUpMode, value, &AppSettings::followUpModeChanged);
    m_defaults.set(kFollowUpMode, rawValue(value));
}

void AppSettings::setConfirmActions(bool value) {
    assign(m_confirmActions, value, &AppSettings::confirmActionsChanged);
    m_defaults.set(kConfirmActions, value);
}

} // namespace nolvea
