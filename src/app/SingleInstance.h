#pragma once

#include <QLockFile>
#include <QObject>
#include <QStringList>

#include <chrono>
#include <memory>

class QLocalServer;

namespace nolvea {

// One running application per user. The first start holds a lock file and listens on a local
// socket in the runtime folder; a later start finds the lock taken, hands its arguments to the
// first over the socket and ends, so the hotkey is never heard twice.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Role {
        primary,   // this process is the one instance (it may still lack the socket)
        forwarded, // the running instance took the arguments: end now
        noAnswer,  // an instance runs but did not answer
    };

    static constexpr std::chrono::milliseconds kPatience{5000};

    // `folder` holds the lock and the socket; the user's runtime folder by default.
    // `patience`: how long a start waits for the running instance to answer.
    explicit SingleInstance(QString folder = defaultFolder(),
                            std::chrono::milliseconds patience = kPatience,
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    static QString defaultFolder();
    QString socketPath() const;

    // Becomes the instance, or hands `arguments` to the running one. Blocks for at most the
    // patience while a starting instance is not listening yet.
    Role claim(const QStringList& arguments);
    bool isListening() const;

    static QString noAnswerMessage();

Q_SIGNALS:
    // A later start handed over its arguments (the program path left out).
    void activated(const QStringList& arguments);

private:
    bool listen();
    bool forward(const QStringList& arguments);

    QString m_folder;
    std::chrono::milliseconds m_patience;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace nolvea
