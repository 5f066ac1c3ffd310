#include "support/LoopbackServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <condition_variable>
#include <deque>
#include <mutex>

namespace nolvea::test {

HttpResponse HttpResponse::json(const QByteArray& body, int status) {
    HttpResponse r;
    r.status = status;
    r.body = body;
    r.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("application/json")));
    return r;
}

HttpResponse HttpResponse::text(const QByteArray& body, int status, const QByteArray& type) {
    HttpResponse r;
    r.status = status;
    r.body = body;
    r.headers.append(qMakePair(QByteArray("Content-Type"), type));
    return r;
}

struct LoopbackServer::Shared {
    mutable std::mutex mutex;
    mutable std::condition_variable arrived;
    QList<HttpRequest> requests;
    QMap<QString, std::deque<HttpResponse>> queued;
    QMap<QString, HttpResponse> fixed;
    std::function<HttpResponse(const HttpRequest&)> handler;

    HttpResponse answer(const HttpRequest& request) {
        std::unique_lock lock(mutex);
        requests.append(request);
        arrived.notify_all();
        const QString route = QString::fromLatin1(request.method) + u' ' + request.path;
        auto q = queued.find(route);
        if (q != queued.end() && !q->empty()) {
            HttpResponse r = q->front();
            q->pop_front();
            return r;
        }
        if (auto f = fixed.find(route); f != fixed.end()) return *f;
        if (handler) {
            auto h = handler;
            lock.unlock();
            return h(request);
        }
        return HttpResponse::json(R"({"error":"not found"})", 404);
    }
};

namespace {

QByteArray reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 201:
        return "Created";
    case 204:
        return "No Content";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 429:
        return "Too Many Requests";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

// Reads requests from one connection and answers them in order.
class Connection : public QObject {
public:
    Connection(QTcpSocket* socket, std::shared_ptr<LoopbackServer::Shared> shared)
        : m_socket(socket)
        , m_shared(std::move(shared)) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this] { read(); });
        connect(socket, &QTcpSocket::disconnected, this, [this] { deleteLater(); });
    }

private:
    void read() {
        m_buffer += m_socket->readAll();
        for (;;) {
            const int headerEnd = m_buffer.indexOf("\r\n\r\n");
            if (headerEnd < 0) return;
            const QList<QByteArray> lines = m_buffer.left(headerEnd).split('\n');
            HttpRequest request;
            const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
            request.method = first.value(0);
            request.target = QString::fromUtf8(first.value(1));
            request.path = request.target.section(u'?', 0, 0);
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const int colon = lines[i].indexOf(':');
                if (colon < 0) continue;
                request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                       lines[i].mid(colon + 1).trimmed());
            }
            const qsizetype length = request.headers.value("content-length", "0").toLongLong();
            if (m_buffer.size() < headerEnd + 4 + length) return;
            request.body = m_buffer.mid(headerEnd + 4, length);
            m_buffer.remove(0, headerEnd + 4 + length);
            respond(m_shared->answer(request));
        }
    }

    void respond(const HttpResponse& r) {
        if (r.silent) return;
        if (r.hangUp) {
            m_socket->abort();
            return;
        }
        QByteArray out =
            "HTTP/1.1 " + QByteArray::number(r.status) + ' ' + reason(r.status) + "\r\n";
        for (const auto& [name, value] : r.headers)
            out += name + ": " + value + "\r\n";
        out += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n";
        out += "Connection: keep-alive\r\n\r\n";
        out += r.body;
        QPointer<QTcpSocket> socket = m_socket;
        auto send = [socket, out] {
            if (socket) socket->write(out);
        };
        if (r.delayMs > 0)
            QTimer::singleShot(r.delayMs, this, send);
        else
            send();
    }

    QTcpSocket* m_socket;
    std::shared_ptr<LoopbackServer::Shared> m_shared;
    QByteArray m_buffer;
};

} // namespace

class LoopbackServer::Worker : public QObject {
public:
    explicit Worker(std::shared_ptr<Shared> shared)
        : m_shared(std::move(shared)) {}

    quint16 listen() {
        m_server = new QTcpServer(this);
        connect(m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = m_server->nextPendingConnection())
                new Connection(s, m_shared);
        });
        m_server->listen(QHostAddress::LocalHost, 0);
        return m_server->serverPort();
    }

    quint16 port = 0;

private:
    std::shared_ptr<Shared> m_shared;
    QTcpServer* m_server = nullptr;
};

LoopbackServer::LoopbackServer()
    : m_shared(std::make_shared<Shared>()) {
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("loopback-http"));
    m_worker = new Worker(m_shared);
    m_worker->moveToThread(m_thread);
    m_thread->start();
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker] { w->port = w->listen(); }, Qt::BlockingQueuedConnection);
}

LoopbackServer::~LoopbackServer() {
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker] { delete w; }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

quint16 LoopbackServer::port() const {
    return m_worker->port;
}

QString LoopbackServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1").arg(port()) + path;
}

void LoopbackServer::on(const QByteArray& method, const QString& path, HttpResponse response) {
    std::lock_guard lock(m_shared->mutex);
    m_shared->fixed.insert(QString::fromLatin1(method) + u' ' + path, std::move(response));
}

void LoopbackServer::enqueue(const QByteArray& method, const QString& path, HttpResponse response) {
    std::lock_guard lock(m_shared->mutex);
    m_shared->queued[QString::fromLatin1(method) + u' ' + path].push_back(std::move(response));
}

void LoopbackServer::setHandler(std::function<HttpResponse(const HttpRequest&)> handler) {
    std::lock_guard lock(m_shared->mutex);
    m_shared->handler = std::move(handler);
}

QList<HttpRequest> LoopbackServer::requests() const {
    std::lock_guard lock(m_shared->mutex);
    return m_shared->requests;
}

HttpRequest LoopbackServer::lastRequest() const {
    std::lock_guard lock(m_shared->mutex);
    return m_shared->requests.isEmpty() ? HttpRequest{} : m_shared->requests.last();
}

int LoopbackServer::count(const QString& path) const {
    std::lock_guard lock(m_shared->mutex);
    return int(std::count_if(m_shared->requests.begin(), m_shared->requests.end(),
                             [&](const HttpRequest& r) { return r.path == path; }));
}

void LoopbackServer::clearRequests() {
    std::lock_guard lock(m_shared->mutex);
    m_shared->requests.clear();
}

bool LoopbackServer::waitForRequests(int n, int ms) const {
    std::unique_lock lock(m_shared->mutex);
    return m_shared->arrived.wait_for(lock, std::chrono::milliseconds(ms),
                                      [&] { return m_shared->requests.size() >= n; });
}

} // namespace nolvea::test
