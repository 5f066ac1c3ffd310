#pragma once

#include "core/EmailRecipient.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <qcoro/qcorotask.h>

#include <vector>

// Recipient names turned into addresses from the contacts folder. Never fails: no access or
// an unreadable folder simply finds nothing.
namespace nolvea::ContactsLookup {

struct Match {
    QString name; // given and family name, trimmed
    QStringList emails;

    bool operator==(const Match&) const = default;
};

// The contacts matching `name` that have an address, in the store's order.
QCoro::Task<QList<Match>> emails(QString name);

// The recipients in order: one without a valid address but with a name gets the first
// matching contact's name, its first address, and all its addresses as alternatives.
QCoro::Task<std::vector<EmailRecipient>> resolve(std::vector<EmailRecipient> recipients);

} // namespace nolvea::ContactsLookup
