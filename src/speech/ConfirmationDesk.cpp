#include "speech/ConfirmationDesk.h"

#include "core/AppState.h"
#include "support/Promise.h"

#include <QPointer>
#include <QTimer>

namespace nolvea {

namespace {

std::vector<QUuid> ids(const std::vector<EmailRecipient>& recipients) {
    std::vector<QUuid> out;
    for (const EmailRecipient& r : recipients)
        out.push_back(r.id);
    return out;
}

} // namespace

ConfirmationDesk::ConfirmationDesk(AppState& state, Services services, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_services(std::move(services)) {}

ConfirmationDesk::~ConfirmationDesk() {
    declinePending();
    m_card.cancel();
}

QCoro::Task<Confirmation> ConfirmationDesk::confirm(ActionPreview preview) {
    declinePending();
    Promise<Confirmation> answer;
    m_pending = std::make_unique<Promise<Confirmation>>(answer);
    m_card = CancelToken();
    m_state.setDraftText(preview.editableValue);
    if (preview.email) prepareEmail(*preview.email, m_card);
    m_state.setPendingAction(preview);
    if (m_state.stage() != AppState::Stage::confirming)
        m_state.setStage(AppState::Stage::confirming);
    m_services.playCue(Sounds::Cue::start);
    co_return co_await answer;
}

Promise<Confirmation> ConfirmationDesk::take() {
    Promise<Confirmation> answer = std::move(*m_pending);
    m_pending.reset();
    m_card.cancel();
    return answer;
}

void ConfirmationDesk::resolve(Confirmation::Choice choice) {
    if (!m_pending) return;
    Promise<Confirmation> answer = take();
    Confirmation c;
    c.choice = choice;
    const auto& pending = m_state.pendingAction();
    if (pending && pending->editableKey) c.editedValue = m_state.draftText();
    if (pending && pending->email) c.edits = m_state.emailDraft().arguments();
    m_state.setPendingAction(std::nullopt);
    if (m_state.stage() != AppState::Stage::processing)
        m_state.setStage(AppState::Stage::processing);
    answer.resolve(std::move(c));
}

void ConfirmationDesk::declinePending() {
    if (!m_pending) return;
    Promise<Confirmation> answer = take();
    m_state.setPendingAction(std::nullopt);
    answer.resolve(Confirmation{});
}

void ConfirmationDesk::prepareEmail(const EmailDraft& draft, CancelToken card) {
    // The card shows the draft at once; addresses, sending accounts and the message answered
    // arrive as they are read, and only while this card is still up.
    m_state.setEmailDraft(draft);
    m_state.setMailAccounts({});
    // Started from the event loop, so that even a look-up that has its answer at hand writes
    // it after the card is up.
    ++m_lookUps;
    QTimer::singleShot(0, this, [this, draft, card] {
        if (!card.isCancelled()) {
            track(resolveRecipients(draft, card));
            track(readMailAccounts(card));
            if (draft.replyToID) track(loadOriginal(*draft.replyToID, card));
        }
        lookUpEnded();
    });
}

QCoro::Task<> ConfirmationDesk::track(QCoro::Task<> lookUp) {
    QPointer<ConfirmationDesk> self(this);
    ++m_lookUps;
    try {
        co_await std::move(lookUp);
    } catch (...) {
        if (self) lookUpEnded();
        throw;
    }
    if (self) lookUpEnded();
}

void ConfirmationDesk::lookUpEnded() {
    if (--m_lookUps == 0) Q_EMIT lookUpsSettled();
}

QCoro::Task<> ConfirmationDesk::resolveRecipients(EmailDraft draft, CancelToken card) {
    const auto services = m_services;
    std::vector<EmailRecipient> to = co_await services.resolveRecipients(draft.to);
    std::vector<EmailRecipient> cc = co_await services.resolveRecipients(draft.cc);
    if (card.isCancelled()) co_return; // that card is gone, and maybe the desk
    // The person may have added or removed recipients meanwhile: then theirs stand.
    EmailDraft current = m_state.emailDraft();
    if (ids(current.to) != ids(draft.to) || ids(current.cc) != ids(draft.cc)) co_return;
    // An address the person typed into a chip meanwhile stands.
    const auto merge = [](std::vector<EmailRecipient>& now,
                          const std::vector<EmailRecipient>& asked,
                          std::vector<EmailRecipient>& found) {
        for (std::size_t i = 0; i < now.size() && i < found.size(); ++i)
            if (now[i].address == asked[i].address) now[i] = std::move(found[i]);
    };
    merge(current.to, draft.to, to);
    merge(current.cc, draft.cc, cc);
    m_state.setEmailDraft(current);
}

QCoro::Task<> ConfirmationDesk::readMailAccounts(CancelToken card) {
    const auto services = m_services;
    QStringList accounts;
    try {
        accounts = co_await services.mailAccounts();
    } catch (...) {
        // No accounts to offer: the card names the default account.
    }
    if (!card.isCancelled()) m_state.setMailAccounts(accounts);
}

QCoro::Task<> ConfirmationDesk::loadOriginal(QString id, CancelToken card) {
    const auto services = m_services;
    const std::optional<EmailSummary> original = co_await services.mailMessage(id);
    if (card.isCancelled() || !original) co_return;
    EmailDraft current = m_state.emailDraft();
    if (current.replyToID != id) co_return;
    current.original = *original;
    m_state.setEmailDraft(current);
}

} // namespace nolvea
