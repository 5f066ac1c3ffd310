#pragma once

#include "core/AIProvider.h"
#include "core/FollowUpMode.h"
#include "core/HotkeyChoice.h"
#include "core/NeuralVoice.h"
#include "core/OverlayStyle.h"
#include "core/VoiceEngine.h"

#include <QObject>
#include <QStringList>

namespace nolvea {

class SecretStore;
class UserDefaults;

// Every user preference, written through to the preference file on each assignment. The
// language-model connection (server address, model, key) is held per provider: assigning
// `aiProvider` reloads the other three from that provider's own keys.
class AppSettings : public QObject {
    Q_OBJECT
    Q_PROPERTY(nolvea::HotkeyChoice hotkey READ hotkey WRITE setHotkey NOTIFY hotkeyChanged)
    Q_PROPERTY(QString localeID READ localeID WRITE setLocaleID NOTIFY localeIDChanged)
    Q_PROPERTY(bool playSounds READ playSounds WRITE setPlaySounds NOTIFY playSoundsChanged)
    Q_PROPERTY(nolvea::OverlayStyle overlayStyle READ overlayStyle WRITE setOverlayStyle NOTIFY
                   overlayStyleChanged)
    Q_PROPERTY(bool historyDrawerEnabled READ historyDrawerEnabled WRITE setHistoryDrawerEnabled
                   NOTIFY historyDrawerEnabledChanged)
    Q_PROPERTY(bool hasCompletedOnboarding READ hasCompletedOnboarding WRITE
                   setHasCompletedOnboarding NOTIFY hasCompletedOnboardingChanged)
    Q_PROPERTY(QString userName READ userName WRITE setUserName NOTIFY userNameChanged)
    Q_PROPERTY(bool aiCleanupEnabled READ aiCleanupEnabled WRITE setAiCleanupEnabled NOTIFY
                   aiCleanupEnabledChanged)
    Q_PROPERTY(
        nolvea::AIProvider aiProvider READ aiProvider WRITE setAiProvider NOTIFY aiProviderChanged)
    Q_PROPERTY(QString serverURL READ serverURL WRITE setServerURL NOTIFY serverURLChanged)
    Q_PROPERTY(QString model READ model WRITE setModel NOTIFY modelChanged)
    Q_PROPERTY(QString apiKey READ apiKey WRITE setApiKey NOTIFY apiKeyChanged)
    Q_PROPERTY(QStringList vocabulary READ vocabulary WRITE setVocabulary NOTIFY vocabularyChanged)
    Q_PROPERTY(bool agentEnabled READ agentEnabled WRITE setAgentEnabled NOTIFY agentEnabledChanged)
    Q_PROPERTY(bool speakAnswers READ speakAnswers WRITE setSpeakAnswers NOTIFY speakAnswersChanged)
    Q_PROPERTY(nolvea::VoiceEngine voiceEngine READ voiceEngine WRITE setVoiceEngine NOTIFY
                   voiceEngineChanged)
    Q_PROPERTY(nolvea::NeuralVoice neuralVoice READ neuralVoice WRITE setNeuralVoice NOTIFY
                   neuralVoiceChanged)
    Q_PROPERTY(QString voiceIdentifier READ voiceIdentifier WRITE setVoiceIdentifier NOTIFY
                   voiceIdentifierChanged)
    Q_PROPERTY(double speechRate READ speechRate WRITE setSpeechRate NOTIFY speechRateChanged)
    Q_PROPERTY(nolvea::FollowUpMode followUpMode READ followUpMode WRITE setFollowUpMode NOTIFY
                   followUpModeChanged)
    Q_PROPERTY(bool confirmActions READ confirmActions WRITE setConfirmActions NOTIFY
                   confirmActionsChanged)

public:
    AppSettings(UserDefaults& defaults, SecretStore& secrets, QObject* parent = nullptr);

    static AppSettings& shared();

    // The first word of the account's full name (from the password database), or "".
    static QString suggestedName();
    static QString suggestedName(const QString& fullName);

    // The preference keys of one provider.
    static QString serverKey(AIProvider provider);
    static QString modelKey(AIProvider provider);
    static QString apiKeyKey(AIProvider provider);

    HotkeyChoice hotkey() const { return m_hotkey; }
    QString localeID() const { return m_localeID; }
    bool playSounds() const { return m_playSounds; }
    OverlayStyle overlayStyle() const { return m_overlayStyle; }
    bool historyDrawerEnabled() const { return m_historyDrawerEnabled; }
    bool hasCompletedOnboarding() const { return m_hasCompletedOnboarding; }
    QString userName() const { return m_userName; }
    bool aiCleanupEnabled() const { return m_aiCleanupEnabled; }
    AIProvider aiProvider() const { return m_aiProvider; }
    QString serverURL() const { return m_serverURL; }
    QString model() const { return m_model; }
    QString apiKey() const { return m_apiKey; }
    QStringList vocabulary() const { return m_vocabulary; }
    bool agentEnabled() const { return m_agentEnabled; }
    bool speakAnswers() const { return m_speakAnswers; }
    VoiceEngine voiceEngine() const { return m_voiceEngine; }
    NeuralVoice neuralVoice() const { return m_neuralVoice; }
    QString voiceIdentifier() const { return m_voiceIdentifier; }
    double speechRate() const { return m_speechRate; }
    FollowUpMode followUpMode() const { return m_followUpMode; }
    bool confirmActions() const { return m_confirmActions; }

    void setHotkey(HotkeyChoice value);
    void setLocaleID(const QString& value);
    void setPlaySounds(bool value);
    void setOverlayStyle(OverlayStyle value);
    void setHistoryDrawerEnabled(bool value);
    void setHasCompletedOnboarding(bool value);
    void setUserName(const QString& value);
    void setAiCleanupEnabled(bool value);
    void setAiProvider(AIProvider value);
    void setServerURL(const QString& value);
    void setModel(const QString& value);
    void setApiKey(const QString& value);
    void setVocabulary(const QStringList& value);
    void setAgentEnabled(bool value);
    void setSpeakAnswers(bool value);
    void setVoiceEngine(VoiceEngine value);
    void setNeuralVoice(NeuralVoice value);
    void setVoiceIdentifier(const QString& value);
    void setSpeechRate(double value);
    void setFollowUpMode(FollowUpMode value);
    void setConfirmActions(bool value);

    // The registered defaults, in their order (never written to the file).
    static QVariantMap registeredDefaults();

Q_SIGNALS:
    void hotkeyChanged();
    void localeIDChanged();
    void playSoundsChanged();
    void overlayStyleChanged();
    void historyDrawerEnabledChanged();
    void hasCompletedOnboardingChanged();
    void userNameChanged();
    void aiCleanupEnabledChanged();
    void aiProviderChanged();
    void serverURLChanged();
    void modelChanged();
    void apiKeyChanged();
    void vocabularyChanged();
    void agentEnabledChanged();
    void speakAnswersChanged();
    void voiceEngineChanged();
    void neuralVoiceChanged();
    void voiceIdentifierChanged();
    void speechRateChanged();
    void followUpModeChanged();
    void confirmActionsChanged();

private:
    void loadProviderValues();
    QString storedServerURL(AIProvider provider) const;
    QString storedModel(AIProvider provider) const;
    QString storedApiKey(AIProvider provider) const;

    template <typename T> void assign(T& field, const T& value, void (AppSettings::*changed)()) {
        if (field == value) return;
        field = value;
        Q_EMIT(this->*changed)();
    }

    UserDefaults& m_defaults;
    SecretStore& m_secrets;
    bool m_isLoadingProvider = false;

    HotkeyChoice m_hotkey = HotkeyChoice::fn;
    QString m_localeID;
    bool m_playSounds = true;
    OverlayStyle m_overlayStyle = OverlayStyle::notch;
    bool m_historyDrawerEnabled = true;
    bool m_hasCompletedOnboarding = false;
    QString m_userName;
    bool m_aiCleanupEnabled = true;
    AIProvider m_aiProvider = AIProvider::lmStudio;
    QString m_serverURL;
    QString m_model;
    QString m_apiKey;
    QStringList m_vocabulary;
    bool m_agentEnabled = true;
    bool m_speakAnswers = true;
    VoiceEngine m_voiceEngine = VoiceEngine::apple;
    NeuralVoice m_neuralVoice = NeuralVoice::kokoroAlex;
    QString m_voiceIdentifier;
    double m_speechRate = 1.05;
    FollowUpMode m_followUpMode = FollowUpMode::whenAsked;
    bool m_confirmActions = true;
};

} // namespace nolvea
