#pragma once

#include "core/ActionPreview.h"
#include "core/EmailDraft.h"
#include "core/VoiceMode.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace nolvea {

// What the assistant is doing right now, for the overlays, the menu and the composer to draw.
// Written by the voice controller on the main thread; nothing here is saved. Every setter
// tells its observers only when the value really changes.
class AppState : public QObject {
    Q_OBJECT
    Q_PROPERTY(nolvea::AppState::Stage stage READ stage WRITE setStage NOTIFY stageChanged)
    Q_PROPERTY(nolvea::VoiceMode mode READ mode WRITE setMode NOTIFY modeChanged)
    Q_PROPERTY(bool handsFree READ handsFree WRITE setHandsFree NOTIFY handsFreeChanged)
    Q_PROPERTY(QList<float> levels READ levels WRITE setLevels NOTIFY levelsChanged)
    Q_PROPERTY(QString liveText READ liveText WRITE setLiveText NOTIFY liveTextChanged)
    Q_PROPERTY(QString statusText READ statusText WRITE setStatusText NOTIFY statusTextChanged)
    Q_PROPERTY(std::optional<nolvea::ActionPreview> pendingAction READ pendingAction WRITE
                   setPendingAction NOTIFY pendingActionChanged)
    Q_PROPERTY(QString draftText READ draftText WRITE setDraftText NOTIFY draftTextChanged)
    Q_PROPERTY(QVariant targetAppIcon READ targetAppIcon WRITE setTargetAppIcon NOTIFY
                   targetAppIconChanged)
    Q_PROPERTY(
        QString targetAppName READ targetAppName WRITE setTargetAppName NOTIFY targetAppNameChanged)
    Q_PROPERTY(std::optional<QString> toolSymbol READ toolSymbol WRITE setToolSymbol NOTIFY
                   toolSymbolChanged)
    Q_PROPERTY(bool hasUnseenResult READ hasUnseenResult WRITE setHasUnseenResult NOTIFY
                   hasUnseenResultChanged)
    Q_PROPERTY(
        nolvea::EmailDraft emailDraft READ emailDraft WRITE setEmailDraft NOTIFY emailDraftChanged)
    Q_PROPERTY(
        QStringList mailAccounts READ mailAccounts WRITE setMailAccounts NOTIFY mailAccountsChanged)
    Q_PROPERTY(bool isSpeaking READ isSpeaking WRITE setIsSpeaking NOTIFY isSpeakingChanged)
    Q_PROPERTY(int conversationTurns READ conversationTurns WRITE setConversationTurns NOTIFY
                   conversationTurnsChanged)
    Q_PROPERTY(
        bool awaitingReply READ awaitingReply WRITE setAwaitingReply NOTIFY awaitingReplyChanged)
    Q_PROPERTY(QString lastRequest READ lastRequest WRITE setLastRequest NOTIFY lastRequestChanged)
    Q_PROPERTY(QString answerText READ answerText WRITE setAnswerText NOTIFY answerTextChanged)
    Q_PROPERTY(std::optional<QDateTime> listeningSince READ listeningSince WRITE setListeningSince
                   NOTIFY listeningSinceChanged)
    Q_PROPERTY(int errorCount READ errorCount WRITE setErrorCount NOTIFY errorCountChanged)

public:
    enum class Stage { idle, listening, processing, success, error, confirming, answer };
    Q_ENUM(Stage)

    static constexpr int kLevelCount = 32;

    explicit AppState(QObject* parent = nullptr);

    static AppState& shared();

    Stage stage() const { return m_stage; }
    VoiceMode mode() const { return m_mode; }
    bool handsFree() const { return m_handsFree; }
    // Smoothed microphone levels, oldest first; always 32 of them.
    const QList<float>& levels() const { return m_levels; }
    QString liveText() const { return m_liveText; }
    QString statusText() const { return m_statusText; }
    const std::optional<ActionPreview>& pendingAction() const { return m_pendingAction; }
    QString draftText() const { return m_draftText; }
    // The front application's icon as the platform layer gives it (a QImage on Linux).
    QVariant targetAppIcon() const { return m_targetAppIcon; }
    QString targetAppName() const { return m_targetAppName; }
    std::optional<QString> toolSymbol() const { return m_toolSymbol; }
    bool hasUnseenResult() const { return m_hasUnseenResult; }
    const EmailDraft& emailDraft() const { return m_emailDraft; }
    QStringList mailAccounts() const { return m_mailAccounts; }
    bool isSpeaking() const { return m_isSpeaking; }
    int conversationTurns() const { return m_conversationTurns; }
    bool awaitingReply() const { return m_awaitingReply; }
    QString lastRequest() const { return m_lastRequest; }
    QString answerText() const { return m_answerText; }
    std::optional<QDateTime> listeningSince() const { return m_listeningSince; }
    int errorCount() const { return m_errorCount; }

    void setStage(Stage value);
    void setMode(VoiceMode value);
    void setHandsFree(bool value);
    void setLevels(const QList<float>& value);
    void setLiveText(const QString& value);
    void setStatusText(const QString& value);
    void setPendingAction(const std::optional<ActionPreview>& value);
    void setDraftText(const QString& value);
    void setTargetAppIcon(const QVariant& value);
    void setTargetAppName(const QString& value);
    void setToolSymbol(const std::optional<QString>& value);
    void setHasUnseenResult(bool value);
    void setEmailDraft(const EmailDraft& value);
    void setMailAccounts(const QStringList& value);
    void setIsSpeaking(bool value);
    void setConversationTurns(int value);
    void setAwaitingReply(bool value);
    void setLastRequest(const QString& value);
    void setAnswerText(const QString& value);
    void setListeningSince(const std::optional<QDateTime>& value);
    void setErrorCount(int value);

    // Feeds one microphone level into the ring: fast attack, slow release. Drops the oldest
    // value and appends the smoothed one, telling observers of `levels` after each step.
    void pushLevel(float level);

Q_SIGNALS:
    void stageChanged();
    void modeChanged();
    void handsFreeChanged();
    void levelsChanged();
    void liveTextChanged();
    void statusTextChanged();
    void pendingActionChanged();
    void draftTextChanged();
    void targetAppIconChanged();
    void targetAppNameChanged();
    void toolSymbolChanged();
    void hasUnseenResultChanged();
    void emailDraftChanged();
    void mailAccountsChanged();
    void isSpeakingChanged();
    void conversationTurnsChanged();
    void awaitingReplyChanged();
    void lastRequestChanged();
    void answerTextChanged();
    void listeningSinceChanged();
    void errorCountChanged();

private:
    Stage m_stage = Stage::idle;
    VoiceMode m_mode = VoiceMode::dictation;
    bool m_handsFree = false;
    QList<float> m_levels;
    QString m_liveText;
    QString m_statusText;
    std::optional<ActionPreview> m_pendingAction;
    QString m_draftText;
    QVariant m_targetAppIcon;
    QString m_targetAppName;
    std::optional<QString> m_toolSymbol;
    bool m_hasUnseenResult = false;
    EmailDraft m_emailDraft;
    QStringList m_mailAccounts;
    bool m_isSpeaking = false;
    int m_conversationTurns = 0;
    bool m_awaitingReply = false;
    QString m_lastRequest;
    QString m_answerText;
    std::optional<QDateTime> m_listeningSince;
    int m_errorCount = 0;
};

} // namespace nolvea
