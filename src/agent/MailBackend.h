#pragma once

#include "core/EmailDraft.h"
#include "core/EmailSummary.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <qcoro/qcorotask.h>

#include <optional>

// E-mail on this computer: messages go out through the installed `MailTransport` (sendmail,
// or the desktop's mail program), sending addresses come from the msmtp configuration, and
// received mail is read from the Maildir inbox.
namespace nolvea::MailBackend {

inline constexpr int kRecentSnippet = 280;
inline constexpr int kMessageSnippet = 400;

enum class Delivery { sent, openedForSending };

// The sending addresses, the default one first.
QCoro::Task<QStringList> accounts();

// Sends the draft; without a sendmail program the message is opened in the mail program
// instead, and the result says so. A draft answering a message in the inbox carries its
// reference (In-Reply-To, References).
QCoro::Task<Delivery> send(EmailDraft draft);
// Opens the draft in the desktop's mail program, recipients as they are.
QCoro::Task<void> open(EmailDraft draft);

// The newest `limit` inbox messages whose sender or subject holds `query` (any case).
QCoro::Task<QList<EmailSummary>> recent(std::optional<QString> query, int limit);
// One inbox message by id; nothing for an id that is not a decimal number or not found.
QCoro::Task<std::optional<EmailSummary>> message(QString id);

// The RFC 5322 message for a draft: UTF-8 headers as encoded words, plain-text body.
QByteArray compose(const EmailDraft& draft, const QString& from, const QDateTime& date,
                   const QByteArray& inReplyTo = {}, const QByteArray& references = {});
// mailto:a@b,c@d?cc=...&subject=...&body=...
QUrl mailto(const EmailDraft& draft);

} // namespace nolvea::MailBackend
