#pragma once

#include "platform/MailTransport.h"

#include <QStringList>

#include <chrono>

namespace nolvea {

// sendmail found on PATH or in the usual system folders; xdg-email on PATH. Both run
// without a shell, with a time limit.
class SendmailTransport final : public MailTransport {
public:
    static constexpr std::chrono::seconds kTimeLimit{45};

    // `extraFolders` are searched after PATH for sendmail.
    explicit SendmailTransport(QStringList extraFolders = {QStringLiteral("/usr/sbin"),
                                                           QStringLiteral("/usr/lib")});

    bool canSend() const override;
    QCoro::Task<void> send(QByteArray message) override;
    QCoro::Task<void> compose(QUrl mailto) override;

private:
    QString sendmail() const;

    QStringList m_extraFolders;
};

} // namespace nolvea
