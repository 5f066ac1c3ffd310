#pragma once

#include "core/AIProvider.h"
#include "core/FollowUpMode.h"
#include "core/HotkeyChoice.h"
#include "core/NeuralVoice.h"
#include "core/OverlayStyle.h"
#include "core/Preference.h"
#include "core/VoiceEngine.h"
#include "support/FileWriteError.h"

#include <QObject>
#include <QStringList>

#include <optional>

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

    HotkeyChoice hotkey() const { return m_stored.hotkey.value(); }
    QString localeID() const { return m_stored.localeID.value(); }
    bool playSounds() const { return m_stored.playSounds.value(); }
    OverlayStyle overlayStyle() const { return m_stored.overlayStyle.value(); }
    bool historyDrawerEnabled() const { return m_stored.historyDrawerEnabled.value(); }
    bool hasCompletedOnboarding() const { return m_stored.hasCompletedOnboarding.value(); }
    QString userName() const { return m_stored.userName.value(); }
    bool aiCleanupEnabled() const { return m_stored.aiCleanupEnabled.value(); }
    AIProvider aiProvider() const { return m_stored.aiProvider.value(); }
    QString serverURL() const { return m_serverURL; }
    QString model() const { return m_model; }
    QString apiKey() const { return m_apiKey; }
    // Why the last key assigned to the current provider was not stored; nothing once one was.
    const std::optional<FileWriteError>& apiKeyError() const { return m_apiKeyError; }
    QStringList vocabulary() const { return m_stored.vocabulary.value(); }
    bool agentEnabled() const { return m_stored.agentEnabled.value(); }
    bool speakAnswers() const { return m_stored.speakAnswers.value(); }
    VoiceEngine voiceEngine() const { return m_stored.voiceEngine.value(); }
    NeuralVoice neuralVoice() const { return m_stored.neuralVoice.value(); }
    QString voiceIdentifier() const { return m_stored.voiceIdentifier.value(); }
    double speechRate() const { return m_stored.speechRate.value(); }
    FollowUpMode followUpMode() const { return m_stored.followUpMode.value(); }
    bool confirmActions() const { return m_stored.confirmActions.value(); }

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
    void apiKeyErrorChanged();
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
    // Every preference stored under a key of its own: its key and default, written once.
    struct Stored {
        Preference<HotkeyChoice> hotkey{"hotkey", HotkeyChoice::fn};
        Preference<QString> localeID{"localeID", QStringLiteral("pt-BR")};
        Preference<bool> playSounds{"playSounds", true};
        Preference<OverlayStyle> overlayStyle{"overlayStyle", OverlayStyle::notch};
        Preference<bool> hasCompletedOnboarding{"hasCompletedOnboarding", false};
        Preference<bool> historyDrawerEnabled{"historyDrawerEnabled", true};
        Preference<QString> userName{"userName", QString(), Registration::inCode};
        Preference<bool> aiCleanupEnabled{"aiCleanupEnabled", true};
        Preference<AIProvider> aiProvider{"aiProvider", AIProvider::lmStudio};
        Preference<QStringList> vocabulary{"vocabulary", QStringList()};
        Preference<bool> agentEnabled{"agentEnabled", true};
        Preference<bool> confirmActions{"confirmActions", true};
        Preference<bool> speakAnswers{"speakAnswers", true};
        Preference<VoiceEngine> voiceEngine{"voiceEngine", VoiceEngine::apple};
        Preference<NeuralVoice> neuralVoice{"neuralVoice", NeuralVoice::kokoroAlex};
        Preference<QString> voiceIdentifier{"voiceIdentifier", QString()};
        Preference<double> speechRate{"speechRate", 1.05};
        Preference<FollowUpMode> followUpMode{"followUpMode", FollowUpMode::whenAsked};

        // Visits every preference in the order the defaults are registered.
        template <typename Self, typename F> static void forEach(Self& self, F&& visit) {
            visit(self.hotkey);
            visit(self.localeID);
            visit(self.playSounds);
            visit(self.overlayStyle);
            visit(self.hasCompletedOnboarding);
            visit(self.historyDrawerEnabled);
            visit(self.userName);
            visit(self.aiCleanupEnabled);
            visit(self.aiProvider);
            visit(self.vocabulary);
            visit(self.agentEnabled);
            visit(self.confirmActions);
            visit(self.speakAnswers);
            visit(self.voiceEngine);
            visit(self.neuralVoice);
            visit(self.voiceIdentifier);
            visit(self.speechRate);
            visit(self.followUpMode);
        }
    };

    // Reads the current provider's address, model and key, and then tells of each change,
    // the provider's own first, so that every observer reads the new provider's values.
    void loadProviderValues(bool providerChanged);
    QString storedServerURL(AIProvider provider) const;
    QString storedModel(AIProvider provider) const;
    QString storedApiKey(AIProvider provider) const;
    void setApiKeyError(std::optional<FileWriteError> error);

    // Stores and writes through first, then tells observers, so they read the new value
    // from here and from the file alike.
    template <typename T>
    void assign(Preference<T>& preference, const T& value, void (AppSettings::*changed)()) {
        if (preference.store(value, m_defaults)) Q_EMIT(this->*changed)();
    }

    UserDefaults& m_defaults;
    SecretStore& m_secrets;
    Stored m_stored;
    QString m_serverURL;
    QString m_model;
    QString m_apiKey;
    std::optional<FileWriteError> m_apiKeyError;
};

} // namespace nolvea
