#pragma once

#include <QByteArray>
#include <QUrl>
#include <qcoro/qcorotask.h>

namespace nolvea {

// How mail leaves this computer: a sendmail program when one is installed, otherwise the
// desktop's mail program with a new message to finish.
class MailTransport {
public:
    virtual ~MailTransport() = default;

    // Whether a sendmail program is installed.
    virtual bool canSend() const = 0;
    // Hands a whole RFC 5322 message to `sendmail -t -oi`, which takes the recipients from
    // its headers. Throws `MailTransportError` with the program's complaint.
    virtual QCoro::Task<void> send(QByteArray message) = 0;
    // Opens a new message for a mailto address in the desktop's mail program. Throws
    // `MailTransportError` when there is none or it fails.
    virtual QCoro::Task<void> compose(QUrl mailto) = 0;
};

} // namespace nolvea
