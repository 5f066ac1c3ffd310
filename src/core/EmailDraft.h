#pragma once

#include "core/EmailRecipient.h"
#include "core/EmailSummary.h"
#include "support/json/JSONValue.h"

#include <QString>

#include <optional>
#include <vector>

namespace nolvea {

// An e-mail on its way from the model's `send_email` arguments through the composer to the
// mail bridge.
struct EmailDraft {
    std::vector<EmailRecipient> to{};
    std::vector<EmailRecipient> cc{};
    QString subject{};
    QString body{};
    QString from{}; // "Name <address>" or a bare address; "" is the default account
    std::optional<QString> replyToID{};
    std::optional<EmailSummary> original{}; // shown only, never made from arguments

    // The draft the tool arguments describe.
    static EmailDraft fromArgs(const JSONValue& args);

    // At least one main recipient, and every recipient valid.
    bool canSend() const;

    // The draft as tool arguments again ("to", "cc", "subject", "body", "from",
    // "reply_to_id"); copy recipients go by address only.
    JSONValue::Object arguments() const;

    bool operator==(const EmailDraft&) const = default;
};

} // namespace nolvea
