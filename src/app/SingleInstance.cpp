#include "app/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace nolvea {

namespace {

// The hand-over: the number of arguments, then each on its own line; "ok" back.
constexpr QByteArrayView kReply = "ok\n";
constexpr int kMaxRequest = 64 * 1024;

QByteArray encode(const QStringList& arguments) {
    QByteArray out = QByteArray::number(arguments.size()) + '\n';
    for (QString a : arguments)
        out += a.replace(u'\n', u' ').toUtf8() + '\n';
    return out;
}

struct Request {
    enum class Kind { incomplete, malformed, whole };
    Kind kind = Kind::incomplete;
    QStringList arguments;
};

Request decode(const QByteArray& data) {
    QList<QByteArray> lines = data.split('\n');
    lines.removeLast(); // what follows the last line feed: not a whole line
    if (lines.isEmpty()) return {};
    bool ok = false;
    const int count = lines.first().toInt(&ok);
    if (!ok || count < 0) return {Request::Kind::malformed, {}};
    if (lines.size() < count + 1) return {};
    Request r{Request::Kind::whole, {}};
    for (int i = 1; i <= count; ++i)
        r.arguments << QString::fromUtf8(lines[i]);
    return r;
}

} // namespace

SingleInstance::SingleInstance(QString folder, std::chrono::milliseconds patience, QObject* parent)
    : QObject(parent)
    , m_folder(std::move(folder))
    , m_patience(patience) {}

SingleInstance::~SingleInstance() {
    if (m_server) m_server->close();
}

QString SingleInstance::defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

QString SingleInstance::socketPath() const {
    return m_folder + QStringLiteral("/nolvea.sock");
}

QString SingleInstance::noAnswerMessage() {
    return QStringLiteral("A Nolvea já está aberta, mas não respondeu. Feche-a e abra de novo.");
}

bool SingleInstance::isListening() const {
    return m_server && m_server->isListening();
}

SingleInstance::Role SingleInstance::claim(const QStringList& arguments) {
    QDir().mkpath(m_folder);
    m_lock = std::make_unique<QLockFile>(m_folder + QStringLiteral("/nolvea.lock"));
    // Only a lock whose process is gone is stale, however old.
    m_lock->setStaleLockTime(0);
    const QDeadlineTimer deadline(m_patience);
    for (;;) {
        if (m_lock->tryLock(0)) {
            listen();
            return Role::primary;
        }
        if (m_lock->error() != QLockFile::LockFailedError) {
            // No lock can be made here (a read-only folder): run without the guard.
            m_lock.reset();
            return Role::primary;
        }
        if (forward(arguments)) return Role::forwarded;
        if (deadline.hasExpired()) return Role::noAnswer;
        // The running one may still be starting up.
        QThread::msleep(100);
    }
}

bool SingleInstance::listen() {
    const QString path = socketPath();
    // A socket left by an instance that crashed; the lock says none runs now.
    QLocalServer::removeServer(path);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(path)) return false;
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                const QByteArray data = socket->peek(kMaxRequest + 1);
                if (data.size() > kMaxRequest) return socket->abort();
                const Request request = decode(data);
                if (request.kind == Request::Kind::malformed) return socket->abort();
                if (request.kind == Request::Kind::incomplete) return;
                socket->readAll();
                socket->write(kReply.data(), kReply.size());
                socket->flush();
                Q_EMIT activated(request.arguments);
            });
        }
    });
    return true;
}

bool SingleInstance::forward(const QStringList& arguments) {
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(1000)) return false;
    socket.write(encode(arguments));
    if (!socket.waitForBytesWritten(1000)) return false;
    QByteArray reply;
    const QDeadlineTimer deadline(3000);
    while (!reply.endsWith('\n') && !deadline.hasExpired()) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime()))) break;
        reply += socket.readAll();
    }
    return reply == kReply;
}

} // namespace nolvea
