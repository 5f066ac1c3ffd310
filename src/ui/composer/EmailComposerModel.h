#pragma once

#include "core/EmailDraft.h"
#include "core/EmailRecipient.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace nolvea {

// The composer card's rules, apart from any widget.
class EmailComposerModel {
public:
    // "Novo e-mail" or "Responder e-mail".
    static QString title(const EmailDraft& draft);
    // The person's request in quotes, or nothing when there was none.
    static std::optional<QString> requestLine(const QString& lastRequest);

    // The footer's warning; none exactly when the draft can be sent.
    static std::optional<QString> warning(const EmailDraft& draft);

    // How the "De" row shows the sending accounts.
    struct Sender {
        bool picker = false; // a choice among the accounts, "" first for the default
        QStringList options; // the picker's values in order ("" is the default account)
        QString text;        // what shows when there is no picker
    };
    static Sender sender(const QStringList& accounts);
    static QString senderOptionTitle(const QString& value);

    // The recipient a finished entry of the "Para" or "Cc" field makes; none for blank text.
    static std::optional<EmailRecipient> entered(const QString& typed);

    // The draft after a contact look-up for `asked` found `found`; none when the look-up
    // must be dropped: the recipient is gone, or the person gave it an address meanwhile.
    static std::optional<EmailDraft>
    withLookup(const EmailDraft& current, const EmailRecipient& asked, const EmailRecipient& found);

    // The recipient without any recipient of the same identity in `list`.
    static std::vector<EmailRecipient> removing(std::vector<EmailRecipient> list, const QUuid& id);
    // `list` with the recipient of `id` given `address`, its alternatives kept.
    static std::vector<EmailRecipient> withAddress(std::vector<EmailRecipient> list,
                                                   const QUuid& id, const QString& address);

    // What a chip shows.
    static QString initials(const EmailRecipient& r);
    enum class AddressPart { text, choice, entry };
    static AddressPart addressPart(const EmailRecipient& r);

    // The Cc row shows once asked for or while it holds someone; its button only before.
    static bool showsCcRow(bool asked, const EmailDraft& draft);

    EmailComposerModel() = delete;
};

} // namespace nolvea
