#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <qcoro/qcorotask.h>

#include <functional>
#include <memory>
#include <optional>

class QNetworkAccessManager;

namespace nolvea {

struct LLMClient;

// The sibling local inference server (`vornel-m1`), started on demand, watched through its two
// HTTP paths and its process names, and stopped when idle. It outlives this program. Main
// thread only.
class Vornel {
public:
    // Where the server and its options live; tests point these at their own.
    struct Setup {
        QStringList candidates; // executable files, in order
        QString serverPattern;  // the server's processes, as pgrep -f reads it
        QString pgrep;
        QString pkill;
        QString optionsDomain; // the control application's preferences
        QString logPath;
        qint64 logLimit = 0; // bytes; a longer log is moved aside before a start
        // pgrep and pkill answer at once; one that does not is stopped after this long.
        std::chrono::milliseconds toolLimit{10'000};
        std::function<int()> requestsInFlight;
        std::function<void()> changed; // the server went up or down

        static Setup standard();
    };

    // The server's own count of submitted requests and its work in progress.
    struct Load {
        int submitted = 0;
        int active = 0;
        bool operator==(const Load&) const = default;
    };

    static constexpr std::chrono::milliseconds startLimit{180'000};
    static constexpr std::chrono::milliseconds livenessAfter{5'000};
    static constexpr std::chrono::milliseconds pollInterval{500};
    static constexpr int stopPolls = 60;
    static constexpr std::chrono::milliseconds killDelay{3'000};

    explicit Vornel(Setup setup);
    ~Vornel();
    Vornel(const Vornel&) = delete;
    Vornel& operator=(const Vornel&) = delete;

    static Vornel& shared();

    // Called whenever the server goes up or down; the model status supplies it.
    void setChanged(std::function<void()> changed) { m_setup.changed = std::move(changed); }

    static QString executableName() { return QStringLiteral("vornel-m1"); }
    static QString subject() { return QStringLiteral("O Vornel"); }

    // Whether the client is served by the Vornel server on this machine: the custom provider,
    // a model naming "vornel", a loopback address and the server's executable installed.
    static bool matches(const LLMClient& client);
    // Returns once the server is ready, starting it (or joining a start under way); throws
    // `LLMError::offline("O Vornel")` when it cannot be started or does not become ready.
    static QCoro::Task<> ensureRunning(const LLMClient& client);
    // True when the server is down already or its stop has begun; false while it is busy, was
    // used since the last look, a request of ours is in flight or a start is under way.
    static QCoro::Task<bool> stopIfIdle(const LLMClient& client);
    // Notes the server's submitted count in the background.
    static void recordBaseline(const LLMClient& client);

    // The same, on this instance.
    bool serves(const LLMClient& client) const;
    QCoro::Task<> ensureReady(LLMClient client);
    QCoro::Task<bool> stopWhenIdle(LLMClient client);
    void takeBaseline(LLMClient client);

    // The first candidate that is an executable file, else the one on PATH; "" when none.
    QString binary() const;
    // The server's command line for the client, with the control application's options.
    QStringList arguments(const LLMClient& client) const;
    // The server's root for a base URL ("/v1" dropped).
    static QString root(const QString& baseURL);
    // The load in a status document; nothing when it is not a JSON object.
    static std::optional<Load> parseLoad(const QByteArray& body);

    // The request count last seen, whichever server it was read from.
    std::optional<int> baseline() const {
        return m_baseline ? std::optional<int>(m_baseline->submitted) : std::nullopt;
    }
    bool isStarting() const { return bool(m_starting); }
    bool isStopping() const { return bool(m_stopping); }

private:
    struct Pending;
    // A request count and the server root it was read from: another server's count says
    // nothing about this one.
    struct Baseline {
        QString server;
        int submitted = 0;
    };

    QCoro::Task<bool> isReady(LLMClient client);
    QCoro::Task<std::optional<Load>> load(LLMClient client);
    QCoro::Task<> runStart(LLMClient client, std::shared_ptr<Pending> pending);
    QCoro::Task<> launchAndWait(LLMClient client);
    void launch(const LLMClient& client);
    QCoro::Task<> runStop(std::shared_ptr<Pending> pending);
    // pgrep/pkill for our own user's server processes; -1 when the tool could not run.
    QCoro::Task<int> processTool(QString program, QStringList arguments) const;
    QCoro::Task<bool> serverRunning() const;
    QCoro::Task<> signalServer(QString signal) const;
    QNetworkAccessManager& network();

    Setup m_setup;
    std::shared_ptr<Pending> m_starting;
    std::shared_ptr<Pending> m_stopping;
    std::optional<Baseline> m_baseline;
    std::unique_ptr<QNetworkAccessManager> m_network;
};

} // namespace nolvea
