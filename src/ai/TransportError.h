#pragma once

#include "support/Error.h"

#include <QString>

namespace nolvea {

// A network failure that is not one of the "did not answer" kinds (a TLS failure, an
// unsupported address, ...), passed on as the network layer reported it.
class TransportError final : public Error {
public:
    TransportError(int code, QString detail)
        : m_code(code)
        , m_detail(std::move(detail)) {}

    // QNetworkReply::NetworkError
    int code() const { return m_code; }
    const QString& detail() const& { return m_detail; }
    QString detail() const&& { return m_detail; }

    QString message() const override { return QStringLiteral("Falha de rede: ") + m_detail; }

private:
    int m_code;
    QString m_detail;
};

} // namespace nolvea
