#pragma once

#include "agent/Confirmation.h"
#include "audio/Sounds.h"
#include "core/ActionPreview.h"
#include "core/EmailRecipient.h"
#include "core/EmailSummary.h"
#include "support/CancelToken.h"

#include <QObject>
#include <QStringList>
#include <qcoro/qcorotask.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace nolvea {

class AppState;
template <typename T> class Promise;

// The agent's confirmation cards: one card waits at a time, holding its agent until the
// person approves, picks the alternate action or declines. An e-mail card is filled in as
// its addresses, sending accounts and answered message are read; each card's look-ups end
// with the card. Main thread.
class ConfirmationDesk : public QObject {
    Q_OBJECT

public:
    struct Services {
        std::function<QCoro::Task<std::vector<EmailRecipient>>(std::vector<EmailRecipient>)>
            resolveRecipients;
        std::function<QCoro::Task<QStringList>()> mailAccounts;
        std::function<QCoro::Task<std::optional<EmailSummary>>(QString id)> mailMessage;
        std::function<void(Sounds::Cue)> playCue;
    };

    ConfirmationDesk(AppState& state, Services services, QObject* parent = nullptr);
    ~ConfirmationDesk() override;

    // Puts up the card and waits for the person's answer. An agent still waiting on an older
    // card goes on with a decline.
    QCoro::Task<Confirmation> confirm(ActionPreview preview);
    // Answers the waiting card with what the person edited on it; nothing when none waits.
    void resolve(Confirmation::Choice choice);
    // Lets the waiting agent go on with a plain decline (the card was abandoned).
    void declinePending();
    bool hasPending() const { return bool(m_pending); }

Q_SIGNALS:
    // Every look-up of the e-mail cards put up so far has ended, or was dropped with its card.
    void lookUpsSettled();

private:
    void prepareEmail(const EmailDraft& draft, CancelToken card);
    QCoro::Task<> resolveRecipients(EmailDraft draft, CancelToken card);
    QCoro::Task<> readMailAccounts(CancelToken card);
    QCoro::Task<> loadOriginal(QString id, CancelToken card);
    // Counts `lookUp` while it runs.
    QCoro::Task<> track(QCoro::Task<> lookUp);
    void lookUpEnded();
    // Takes the waiting card's promise and ends its look-ups.
    Promise<Confirmation> take();

    AppState& m_state;
    Services m_services;
    std::unique_ptr<Promise<Confirmation>> m_pending;
    CancelToken m_card; // cancelled when the card goes
    int m_lookUps = 0;  // running, or about to start
};

} // namespace nolvea
