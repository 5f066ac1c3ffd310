#include "core/EmailDraft.h"
#include "core/EmailRecipient.h"

#include <QRegularExpression>

namespace nolvea {

bool EmailRecipient::isValid() const {
    const qsizetype at = address.indexOf(u'@');
    if (at <= 0 || address.indexOf(u'@', at + 1) >= 0) return false;
    static const QString kForbidden = QStringLiteral("<>()[],;:\"?&");
    for (const QChar c : address)
        if (c.isSpace() || c.category() == QChar::Other_Control ||
            c.category() == QChar::Other_Format || kForbidden.contains(c))
            return false;
    const QStringList labels = address.mid(at + 1).split(u'.');
    if (labels.size() < 2) return false;
    for (const QString& label : labels)
        if (label.isEmpty()) return false;
    return true;
}

EmailRecipient EmailRecipient::parse(const QString& text) {
    const QString trimmed = text.trimmed();
    const qsizetype open = trimmed.indexOf(u'<');
    const qsizetype close = trimmed.indexOf(u'>');
    EmailRecipient r;
    if (open >= 0 && close > open) {
        QString name = trimmed.left(open);
        // Only spaces and double quotes come off the display name.
        qsizetype b = 0, e = name.size();
        while (b < e && (name[b] == u' ' || name[b] == u'"'))
            ++b;
        while (e > b && (name[e - 1] == u' ' || name[e - 1] == u'"'))
            --e;
        r.name = name.mid(b, e - b);
        r.address = trimmed.mid(open + 1, close - open - 1);
    } else if (trimmed.contains(u'@')) {
        r.address = trimmed;
    } else {
        r.name = trimmed;
    }
    return r;
}

std::vector<EmailRecipient> EmailRecipient::list(const std::optional<JSONValue>& value) {
    QStringList texts;
    if (value) {
        if (auto s = value->asString()) {
            texts = s->split(QRegularExpression(QStringLiteral("[,;]")));
        } else {
            for (const auto& item : value->asArray())
                if (auto t = item.stringValue()) texts.append(*t);
        }
    }
    std::vector<EmailRecipient> result;
    for (const auto& t : texts) {
        EmailRecipient r = parse(t);
        if (!r.name.isEmpty() || !r.address.isEmpty()) result.push_back(std::move(r));
    }
    return result;
}

EmailDraft EmailDraft::fromArgs(const JSONValue& args) {
    EmailDraft d;
    d.to = EmailRecipient::list(args[QStringLiteral("to")]);
    d.cc = EmailRecipient::list(args[QStringLiteral("cc")]);
    d.subject = args.optional(QStringLiteral("subject")).value_or(QString());
    d.body = args.optional(QStringLiteral("body")).value_or(QString());
    d.from = args.optional(QStringLiteral("from")).value_or(QString());
    d.replyToID = args.optional(QStringLiteral("reply_to_id"));
    return d;
}

bool EmailDraft::canSend() const {
    if (to.empty()) return false;
    for (const auto* list : {&to, &cc})
        for (const auto& r : *list)
            if (!r.isValid()) return false;
    return true;
}

JSONValue::Object EmailDraft::arguments() const {
    JSONValue::Array toTexts;
    for (const auto& r : to)
        toTexts.push_back(r.name.isEmpty() ? r.address
                                           : r.name + QStringLiteral(" <") + r.address + u'>');
    JSONValue::Array ccTexts;
    for (const auto& r : cc)
        ccTexts.push_back(r.address);
    JSONValue::Object args{
        {QStringLiteral("to"), std::move(toTexts)},
        {QStringLiteral("cc"), std::move(ccTexts)},
        {QStringLiteral("subject"), subject},
        {QStringLiteral("body"), body},
    };
    if (!from.isEmpty()) args.emplace(QStringLiteral("from"), from);
    if (replyToID) args.emplace(QStringLiteral("reply_to_id"), *replyToID);
    return args;
}

} // namespace nolvea
