#include "agent/ContactsLookup.h"

#include "agent/ContactStore.h"
#include "core/AppPaths.h"
#include "support/OffThread.h"

namespace nolvea::ContactsLookup {

namespace {

QList<Match> matchesIn(const QString& root, const QString& name) {
    const ContactStore store(root);
    if (!store.hasAccess()) return {};
    QList<Match> out;
    for (const auto& c : store.matching(name)) {
        if (c.emails.isEmpty()) continue;
        out.append({(c.givenName + u' ' + c.familyName).trimmed(), c.emails});
    }
    return out;
}

} // namespace

QCoro::Task<QList<Match>> emails(QString name) {
    // The root is read here: the data folder is found on the caller's thread. A named task:
    // g++ 12 mishandles lambda temporaries inside a co_await expression.
    const QString root = ContactStore::defaultRoot();
    auto lookup = offThread([root, name] { return matchesIn(root, name); });
    co_return co_await std::move(lookup);
}

QCoro::Task<std::vector<EmailRecipient>> resolve(std::vector<EmailRecipient> recipients) {
    for (EmailRecipient& r : recipients) {
        if (r.isValid() || r.name.isEmpty()) continue;
        const auto found = co_await emails(r.name);
        if (found.isEmpty()) continue;
        r.name = found.first().name;
        r.address = found.first().emails.first();
        r.alternatives = found.first().emails;
    }
    co_return recipients;
}

} // namespace nolvea::ContactsLookup
