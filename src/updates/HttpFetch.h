#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <qcoro/qcorotask.h>

class QNetworkAccessManager;

namespace nolvea {

// One GET whose body counts whatever the HTTP status: the caller judges the bytes.
class HttpFetch {
public:
    // The body of the answer. Throws `UpdateFailure` with a Portuguese description when no
    // answer arrived (refused, unreachable, timed out).
    static QCoro::Task<QByteArray> get(QNetworkAccessManager& network, QNetworkRequest request);

    // A sentence describing a failed transfer.
    static QString describe(QNetworkReply::NetworkError error, const QString& detail);
};

} // namespace nolvea
