#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

namespace nolvea {

// One Internet message as read from a mail folder: its headers and its readable text.
struct MailMessage {
    QList<std::pair<QByteArray, QByteArray>> headers; // unfolded, still encoded
    QString text; // the first plain-text part (or the HTML one without tags), decoded

    // The first header of that name (any case), empty when absent.
    QByteArray header(const QByteArray& name) const;

    // `headersOnly` stops at the blank line that ends the headers.
    static MailMessage parse(const QByteArray& data, bool headersOnly = false);
};

} // namespace nolvea
