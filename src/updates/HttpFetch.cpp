#include "updates/HttpFetch.h"

#include "updates/UpdateFailure.h"

#include <QNetworkAccessManager>
#include <qcoro/qcoronetworkreply.h>

#include <memory>

namespace nolvea {

namespace {

// Errors that only report the HTTP status of an answer that did arrive.
bool isStatusError(QNetworkReply::NetworkError e) {
    return (e >= QNetworkReply::ContentAccessDenied && e <= QNetworkReply::UnknownContentError) ||
           (e >= QNetworkReply::InternalServerError && e <= QNetworkReply::UnknownServerError);
}

} // namespace

QCoro::Task<QByteArray> HttpFetch::get(QNetworkAccessManager& network, QNetworkRequest request) {
    std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> reply(
        network.get(request), [](QNetworkReply* r) { r->deleteLater(); });
    co_await reply.get();
    const auto error = reply->error();
    if (error != QNetworkReply::NoError && !isStatusError(error))
        throw UpdateFailure(describe(error, reply->errorString()));
    co_return reply->readAll();
}

QString HttpFetch::describe(QNetworkReply::NetworkError error, const QString& detail) {
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("O servidor recusou a conexão.");
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("O servidor fechou a conexão antes de responder.");
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("O endereço do servidor não foi encontrado.");
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError: // only the transfer time-out aborts here
        return QStringLiteral("O servidor não respondeu a tempo.");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("Não deu para abrir uma conexão segura com o servidor.");
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
        return QStringLiteral("A rede não está disponível.");
    case QNetworkReply::ProtocolUnknownError:
        return QStringLiteral("O endereço usa um protocolo que a Nolvea não conhece.");
    default:
        return QStringLiteral("Falha de rede (%1).").arg(detail);
    }
}

} // namespace nolvea
