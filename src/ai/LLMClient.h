#pragma once

#include "ai/ChatMessage.h"
#include "ai/ToolSpec.h"
#include "core/AIProvider.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <qcoro/qcorotask.h>

#include <optional>
#include <vector>

class QNetworkRequest;

namespace nolvea {

// One configured language model: which back-end, where, which model, with which key. A value;
// each call works on its own copy and keeps nothing between calls.
struct LLMClient {
    AIProvider provider;
    QString baseURL; // already through `AIProvider::apiBase`
    QString model;
    QString apiKey; // "" when none

    // The client of the current settings, or of VEMKA_TEST_PROVIDER / VEMKA_TEST_MODEL when
    // the first names a provider.
    static LLMClient fromSettings();

    // One non-streaming chat turn: the model's reply. An empty tool list counts as none; the
    // timeout (seconds) bounds the wait for the reply. Throws `LLMError`,
    // `AccountBridge::BridgeError`, `DecodingError` or `TransportError`.
    QCoro::Task<ChatMessage> chat(std::vector<ChatMessage> messages,
                                  std::optional<std::vector<ToolSpec>> tools, double temperature,
                                  std::optional<int> maxTokens, double timeout) const;

    // The chat models the back-end offers, in its order. Throws `LLMError`,
    // `AccountBridge::BridgeError`, `DecodingError` or `TransportError`.
    QCoro::Task<QStringList> listModels() const;
    // Frees the model's memory on a local server; false when an unload request failed.
    QCoro::Task<bool> unloadModel() const;

    // Who failed, for error messages.
    QString errorSubject() const;

    friend bool operator==(const LLMClient&, const LLMClient&) = default;

private:
    // The coroutines take the client by value: a caller's temporary may be gone when they
    // resume.
    static QCoro::Task<ChatMessage> chatOf(LLMClient self, std::vector<ChatMessage> messages,
                                           std::optional<std::vector<ToolSpec>> tools,
                                           double temperature, std::optional<int> maxTokens,
                                           double timeout);
    static QCoro::Task<QStringList> listModelsOf(LLMClient self);
    static QCoro::Task<bool> unloadModelOf(LLMClient self);

    struct Reply {
        bool isHTTP = false;
        int status = 0;
        QByteArray body;
    };

    // `baseURL` + `path`; throws `offline` when that is no address.
    QUrl url(const QString& path) const;
    QUrl parseAddress(const QString& address) const;
    void authorize(QNetworkRequest& request) const;
    // Sends the request; transport failures that mean "did not answer" become `offline`.
    QCoro::Task<Reply> perform(QNetworkRequest request, QByteArray verb, QByteArray body,
                               double timeout) const;
    // One JSON POST; the body of a 200 reply.
    QCoro::Task<QByteArray> post(QString address, QByteArray json, double timeout,
                                 QStringList betas = {}) const;
};

} // namespace nolvea
