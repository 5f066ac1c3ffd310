#include "agent/MailBackend.h"

#include "agent/MailMessage.h"
#include "agent/Maildir.h"
#include "agent/MimeText.h"
#include "agent/MsmtpAccounts.h"
#include "agent/ToolError.h"
#include "platform/MailTransport.h"
#include "platform/MailTransportError.h"
#include "platform/Platform.h"
#include "support/Clock.h"
#include "support/Graphemes.h"
#include "support/OffThread.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QUrlQuery>
#include <QUuid>

namespace nolvea::MailBackend {

namespace {

constexpr qint64 kMessageBytes = 4 * 1024 * 1024;

QString clipped(const QString& text, int limit) {
    if (Graphemes::count(text) <= limit) return text;
    return Graphemes::first(text, limit) + QStringLiteral("…");
}

QByteArray rfc2822Date(const QDateTime& at) {
    const QDateTime local = at.toLocalTime();
    const int offset = local.offsetFromUtc() / 60;
    const QString zone = QStringLiteral("%1%2%3")
                             .arg(offset < 0 ? u'-' : u'+')
                             .arg(std::abs(offset) / 60, 2, 10, QLatin1Char('0'))
                             .arg(std::abs(offset) % 60, 2, 10, QLatin1Char('0'));
    return (QLocale::c().toString(local, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss ")) + zone)
        .toLatin1();
}

QByteArray addressList(const std::vector<EmailRecipient>& recipients, bool withNames) {
    QList<QByteArray> items;
    for (const auto& r : recipients)
        items.append(withNames ? MimeText::encodeAddress(r.name, r.address)
                               : MimeText::encodeAddress({}, r.address));
    return items.join(",\n ");
}

MailMessage readMessage(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return MailMessage::parse(f.read(kMessageBytes));
}

std::optional<EmailSummary> summaryOf(const QString& root, const QString& id) {
    const auto entry = Maildir(root).find(QString::number(id.toLongLong()));
    if (!entry) return std::nullopt;
    QString body = clipped(readMessage(entry->path).text, kMessageSnippet);
    body.replace(u'\t', u' ').replace(u'\r', u' ');
    return EmailSummary{id, entry->sender, entry->subject, Maildir::dateText(entry->date), body};
}

bool decimalInteger(const QString& id) {
    static const QRegularExpression form(QStringLiteral(R"(^[+-]?[0-9]+$)"));
    bool ok = false;
    id.toLongLong(&ok);
    return ok && form.match(id).hasMatch();
}

// The transport's failure, told as the tool's.
QCoro::Task<void> handedOn(QCoro::Task<void> delivery) {
    try {
        co_await std::move(delivery);
    } catch (const MailTransportError& e) {
        throw ToolError::failed(e.message());
    }
}

} // namespace

QByteArray compose(const EmailDraft& draft, const QString& from, const QDateTime& date,
                   const QByteArray& inReplyTo, const QByteArray& references) {
    QByteArray out;
    auto header = [&](const char* name, const QByteArray& value) {
        out += QByteArray(name) + ": " + value + '\n';
    };
    QString domain = QStringLiteral("localhost");
    if (!from.isEmpty()) {
        const EmailRecipient sender = EmailRecipient::parse(from);
        header("From", MimeText::encodeAddress(sender.name, sender.address));
        if (sender.address.contains(u'@')) domain = sender.address.section(u'@', -1);
    }
    header("To", addressList(draft.to, true));
    if (!draft.cc.empty()) header("Cc", addressList(draft.cc, false));
    header("Subject", MimeText::encodeHeader(draft.subject, 7));
    header("Date", rfc2822Date(date));
    domain.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9.-]")));
    header("Message-ID", '<' + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + '@' +
                             domain.toLatin1() + '>');
    if (!inReplyTo.isEmpty()) {
        header("In-Reply-To", inReplyTo);
        header("References", references.isEmpty() ? inReplyTo : references + ' ' + inReplyTo);
    }
    header("MIME-Version", "1.0");
    header("Content-Type", "text/plain; charset=UTF-8");
    QString text = draft.body;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QByteArray body = text.toUtf8();
    // Lines longer than mail allows go quoted-printable.
    bool longLine = false;
    for (const QByteArray& l : body.split('\n'))
        longLine = longLine || l.size() > 998;
    if (longLine) {
        header("Content-Transfer-Encoding", "quoted-printable");
        body = MimeText::encodeQuotedPrintable(body);
    } else {
        header("Content-Transfer-Encoding", "8bit");
    }
    out += '\n' + body;
    if (!out.endsWith('\n')) out += '\n';
    return out;
}

QUrl mailto(const EmailDraft& draft) {
    auto addresses = [](const std::vector<EmailRecipient>& list) {
        QStringList out;
        for (const auto& r : list)
            out.append(r.address.isEmpty() ? r.name : r.address);
        return out.join(u',');
    };
    auto encoded = [](const QString& text) {
        return QString::fromLatin1(QUrl::toPercentEncoding(text, "@"));
    };
    QStringList query;
    if (!draft.cc.empty()) query.append(QStringLiteral("cc=") + encoded(addresses(draft.cc)));
    query.append(QStringLiteral("subject=") + encoded(draft.subject));
    query.append(QStringLiteral("body=") + encoded(draft.body));
    QStringList to;
    for (const QString& a : addresses(draft.to).split(u',', Qt::SkipEmptyParts))
        to.append(encoded(a));
    return QUrl(QStringLiteral("mailto:") + to.join(u',') + u'?' + query.join(u'&'),
                QUrl::StrictMode);
}

// The look-ups read files and run on the thread pool. Each is a named task: g++ 12 mishandles
// lambda temporaries inside a co_await expression.

QCoro::Task<QStringList> accounts() {
    auto lookup = offThread([] { return MsmtpAccounts::addresses(); });
    co_return co_await std::move(lookup);
}

QCoro::Task<Delivery> send(EmailDraft draft) {
    auto& transport = Platform::get<MailTransport>();
    if (!transport.canSend()) {
        co_await handedOn(transport.compose(mailto(draft)));
        co_return Delivery::openedForSending;
    }
    const QString root = Maildir::defaultRoot();
    const auto replyTo = draft.replyToID;
    const QString configured = draft.from;
    struct Prepared {
        QString from;
        QByteArray inReplyTo;
        QByteArray references;
    };
    auto preparing = offThread([root, replyTo, configured] {
        Prepared p;
        p.from = configured;
        if (p.from.isEmpty()) p.from = MsmtpAccounts::addresses().value(0);
        if (replyTo && decimalInteger(*replyTo))
            if (auto entry = Maildir(root).find(*replyTo)) {
                p.inReplyTo = entry->messageID;
                p.references = entry->references;
            }
        return p;
    });
    const Prepared prepared = co_await std::move(preparing);
    co_await handedOn(transport.send(compose(draft, prepared.from, Clock::shared().now(),
                                             prepared.inReplyTo, prepared.references)));
    co_return Delivery::sent;
}

QCoro::Task<void> open(EmailDraft draft) {
    co_await handedOn(Platform::get<MailTransport>().compose(mailto(draft)));
}

QCoro::Task<QList<EmailSummary>> recent(std::optional<QString> query, int limit) {
    const QString root = Maildir::defaultRoot();
    auto lookup = offThread([root, query, limit] {
        QList<EmailSummary> out;
        for (const auto& e : Maildir(root).entries()) {
            if (out.size() >= limit) break;
            if (query && !query->isEmpty() && !e.sender.contains(*query, Qt::CaseInsensitive) &&
                !e.subject.contains(*query, Qt::CaseInsensitive))
                continue;
            QString snippet = clipped(readMessage(e.path).text, kRecentSnippet);
            snippet.replace(QRegularExpression(QStringLiteral("[\\t\\r\\n]")), QStringLiteral(" "));
            out.append(EmailSummary{e.id, e.sender, e.subject, Maildir::dateText(e.date), snippet});
        }
        return out;
    });
    co_return co_await std::move(lookup);
}

QCoro::Task<std::optional<EmailSummary>> message(QString id) {
    if (!decimalInteger(id)) co_return std::nullopt;
    const QString root = Maildir::defaultRoot();
    auto lookup = offThread([root, id] { return summaryOf(root, id); });
    co_return co_await std::move(lookup);
}

} // namespace nolvea::MailBackend
