#include "ui/composer/EmailComposerModel.h"

namespace nolvea {

QString EmailComposerModel::title(const EmailDraft& draft) {
    return draft.replyToID ? QStringLiteral("Responder e-mail") : QStringLiteral("Novo e-mail");
}

std::optional<QString> EmailComposerModel::requestLine(const QString& lastRequest) {
    if (lastRequest.isEmpty()) return std::nullopt;
    return QStringLiteral("“") + lastRequest + QStringLiteral("”");
}

std::optional<QString> EmailComposerModel::warning(const EmailDraft& draft) {
    if (draft.to.empty()) return QStringLiteral("Sem destinatário");
    for (const auto* list : {&draft.to, &draft.cc})
        for (const EmailRecipient& r : *list)
            if (!r.isValid())
                return QStringLiteral("Falta o e-mail de ") +
                       (r.name.isEmpty() ? r.address : r.name);
    return std::nullopt;
}

EmailComposerModel::Sender EmailComposerModel::sender(const QStringList& accounts) {
    Sender s;
    if (accounts.size() >= 2) {
        s.picker = true;
        s.options = QStringList{QString()} + accounts;
    } else {
        s.text = accounts.isEmpty() ? QStringLiteral("Conta padrão do Mail") : accounts.first();
    }
    return s;
}

QString EmailComposerModel::senderOptionTitle(const QString& value) {
    return value.isEmpty() ? QStringLiteral("Conta padrão") : value;
}

std::optional<EmailRecipient> EmailComposerModel::entered(const QString& typed) {
    // Spaces and tabs only: a line break is no blank the field can hold anyway.
    qsizetype b = 0, e = typed.size();
    auto blank = [&](qsizetype i) { return typed[i] == u' ' || typed[i] == u'\t'; };
    while (b < e && blank(b))
        ++b;
    while (e > b && blank(e - 1))
        --e;
    if (b == e) return std::nullopt;
    EmailRecipient r = EmailRecipient::parse(typed.mid(b, e - b));
    if (r.name.isEmpty() && r.address.isEmpty()) return std::nullopt;
    return r;
}

std::optional<EmailDraft> EmailComposerModel::withLookup(const EmailDraft& current,
                                                         const EmailRecipient& asked,
                                                         const EmailRecipient& found) {
    for (std::size_t i = 0; i < current.to.size(); ++i) {
        const EmailRecipient& now = current.to[i];
        if (now.id != asked.id) continue;
        // What the person typed since the look-up began stands.
        if (now.address != asked.address || now.isValid()) return std::nullopt;
        EmailDraft next = current;
        next.to[i] = found;
        next.to[i].id = asked.id;
        return next;
    }
    return std::nullopt;
}

std::vector<EmailRecipient> EmailComposerModel::removing(std::vector<EmailRecipient> list,
                                                         const QUuid& id) {
    std::erase_if(list, [&](const EmailRecipient& r) { return r.id == id; });
    return list;
}

std::vector<EmailRecipient> EmailComposerModel::withAddress(std::vector<EmailRecipient> list,
                                                            const QUuid& id,
                                                            const QString& address) {
    for (EmailRecipient& r : list)
        if (r.id == id) r.address = address;
    return list;
}

QString EmailComposerModel::initials(const EmailRecipient& r) {
    const QString base = !r.name.isEmpty() && r.name != r.address ? r.name : r.address;
    QString out;
    for (const QString& piece : base.split(u' ', Qt::SkipEmptyParts).mid(0, 2))
        out += piece.front();
    return out.toUpper();
}

EmailComposerModel::AddressPart EmailComposerModel::addressPart(const EmailRecipient& r) {
    if (!r.isValid()) return AddressPart::entry;
    return r.alternatives.size() >= 2 ? AddressPart::choice : AddressPart::text;
}

bool EmailComposerModel::showsCcRow(bool asked, const EmailDraft& draft) {
    return asked || !draft.cc.empty();
}

} // namespace nolvea
