#pragma once

#include "support/json/JSONValue.h"

#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>
#include <vector>

namespace nolvea {

// One addressee of an e-mail. A recipient may hold only a name until the contact lookup
// fills in the address.
struct EmailRecipient {
    QUuid id = QUuid::createUuid();
    QString name{};
    QString address{};
    QStringList alternatives{}; // other addresses of the same contact

    // A complete address: one "@" after a non-empty local part, a domain of at least two
    // non-empty dot-separated labels, and no whitespace, control character or any of
    // <>()[],;:"?& (those would break the headers it goes into).
    bool isValid() const;

    // "Name <address>", a bare address (holds "@") or a bare name.
    static EmailRecipient parse(const QString& text);
    // A string split at "," and ";", or an array's elements in their text form; recipients
    // with neither name nor address are left out.
    static std::vector<EmailRecipient> list(const std::optional<JSONValue>& value);

    bool operator==(const EmailRecipient&) const = default;
};

} // namespace nolvea
