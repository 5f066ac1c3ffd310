#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <functional>
#include <memory>

class QThread;

namespace nolvea::test {

struct HttpRequest {
    QByteArray method;
    QString target;                       // path with its query
    QString path;                         // without the query
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;

    QByteArray header(const QByteArray& name) const { return headers.value(name.toLower()); }
};

struct HttpResponse {
    int status = 200;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    int delayMs = 0;     // answer after this long
    bool hangUp = false; // close the connection without answering
    bool silent = false; // never answer (the client times out)

    static HttpResponse json(const QByteArray& body, int status = 200);
    static HttpResponse text(const QByteArray& body, int status = 200,
                             const QByteArray& type = "text/plain");
};

// A real HTTP/1.1 server on 127.0.0.1 and a free port, on a thread of its own, that records
// each request and answers from a script: queued answers per route first (each used once),
// then the fixed answer of the route, then the handler, then 404.
class LoopbackServer {
public:
    LoopbackServer();
    ~LoopbackServer();

    quint16 port() const;
    QString url(const QString& path = {}) const;

    // Routes are "METHOD /path" (the path without query).
    void on(const QByteArray& method, const QString& path, HttpResponse response);
    void enqueue(const QByteArray& method, const QString& path, HttpResponse response);
    void setHandler(std::function<HttpResponse(const HttpRequest&)> handler);

    QList<HttpRequest> requests() const;
    HttpRequest lastRequest() const;
    int count(const QString& path) const;
    void clearRequests();
    // Waits (without an event loop of the caller's) until `n` requests arrived.
    bool waitForRequests(int n, int ms = 5000) const;

    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
    QThread* m_thread = nullptr;
    class Worker;
    Worker* m_worker = nullptr;
};

} // namespace nolvea::test
