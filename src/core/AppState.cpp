#include "core/AppState.h"

namespace nolvea {

namespace {

// Stores the value either way; true when it differs from the old one.
template <typename T> bool assign(T& field, const T& value) {
    const bool changed = !(field == value);
    field = value;
    return changed;
}

} // namespace

AppState::AppState(QObject* parent)
    : QObject(parent)
    , m_levels(kLevelCount, 0.0f) {}

AppState& AppState::shared() {
    static AppState* state = new AppState;
    return *state;
}

void AppState::setStage(Stage value) {
    if (assign(m_stage, value)) Q_EMIT stageChanged();
}

void AppState::setMode(VoiceMode value) {
    if (assign(m_mode, value)) Q_EMIT modeChanged();
}

void AppState::setHandsFree(bool value) {
    if (assign(m_handsFree, value)) Q_EMIT handsFreeChanged();
}

void AppState::setLevels(const QList<float>& value) {
    if (assign(m_levels, value)) Q_EMIT levelsChanged();
}

void AppState::setLiveText(const QString& value) {
    if (assign(m_liveText, value)) Q_EMIT liveTextChanged();
}

void AppState::setStatusText(const QString& value) {
    if (assign(m_statusText, value)) Q_EMIT statusTextChanged();
}

void AppState::setPendingAction(const std::optional<ActionPreview>& value) {
    if (assign(m_pendingAction, value)) Q_EMIT pendingActionChanged();
}

void AppState::setDraftText(const QString& value) {
    if (assign(m_draftText, value)) Q_EMIT draftTextChanged();
}

void AppState::setTargetAppIcon(const QVariant& value) {
    if (assign(m_targetAppIcon, value)) Q_EMIT targetAppIconChanged();
}

void AppState::setTargetAppName(const QString& value) {
    if (assign(m_targetAppName, value)) Q_EMIT targetAppNameChanged();
}

void AppState::setToolSymbol(const std::optional<QString>& value) {
    if (assign(m_toolSymbol, value)) Q_EMIT toolSymbolChanged();
}

void AppState::setHasUnseenResult(bool value) {
    if (assign(m_hasUnseenResult, value)) Q_EMIT hasUnseenResultChanged();
}

void AppState::setEmailDraft(const EmailDraft& value) {
    if (assign(m_emailDraft, value)) Q_EMIT emailDraftChanged();
}

void AppState::setMailAccounts(const QStringList& value) {
    if (assign(m_mailAccounts, value)) Q_EMIT mailAccountsChanged();
}

void AppState::setIsSpeaking(bool value) {
    if (assign(m_isSpeaking, value)) Q_EMIT isSpeakingChanged();
}

void AppState::setConversationTurns(int value) {
    if (assign(m_conversationTurns, value)) Q_EMIT conversationTurnsChanged();
}

void AppState::setAwaitingReply(bool value) {
    if (assign(m_awaitingReply, value)) Q_EMIT awaitingReplyChanged();
}

void AppState::setLastRequest(const QString& value) {
    if (assign(m_lastRequest, value)) Q_EMIT lastRequestChanged();
}

void AppState::setAnswerText(const QString& value) {
    if (assign(m_answerText, value)) Q_EMIT answerTextChanged();
}

void AppState::setListeningSince(const std::optional<QDateTime>& value) {
    if (assign(m_listeningSince, value)) Q_EMIT listeningSinceChanged();
}

void AppState::setErrorCount(int value) {
    if (assign(m_errorCount, value)) Q_EMIT errorCountChanged();
}

void AppState::pushLevel(float level) {
    const float last = m_levels.isEmpty() ? 0.0f : m_levels.last();
    const float smoothed = level > last ? level * 0.7f + last * 0.3f : level * 0.22f + last * 0.78f;
    if (!m_levels.isEmpty()) m_levels.removeFirst();
    Q_EMIT levelsChanged();
    m_levels.append(smoothed);
    Q_EMIT levelsChanged();
}

} // namespace nolvea
