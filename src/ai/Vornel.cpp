#include "ai/Vornel.h"

#include "ai/LLMClient.h"
#include "ai/LLMError.h"

#include <QStandardPaths>
#include <QUrl>

namespace nolvea {

QString Vornel::executableName() {
    return QStringLiteral("vornel");
}

bool Vornel::matches(const LLMClient& client) {
    if (client.provider != AIProvider::custom) return false;
    if (!client.model.contains(QStringLiteral("vornel"), Qt::CaseInsensitive)) return false;
    const QUrl url(client.baseURL, QUrl::StrictMode);
    if (!url.isValid()) return false;
    const QString host = url.host().toLower();
    if (host != u"localhost" && host != u"127.0.0.1" && host != u"::1") return false;
    return !QStandardPaths::findExecutable(executableName()).isEmpty();
}

QCoro::Task<> Vornel::ensureRunning(const LLMClient&) {
    // Starting the server is not part of this build: it never becomes ready.
    throw LLMError::offline(subject());
    co_return;
}

QCoro::Task<bool> Vornel::stopIfIdle(const LLMClient&) {
    // Its status cannot be read here, which counts as idle.
    co_return true;
}

} // namespace nolvea
