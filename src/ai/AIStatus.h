#pragma once

#include "ai/LLMClient.h"
#include "core/AIConnection.h"
#include "support/Clock.h"

#include <QObject>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

namespace nolvea {

// Whether the configured language model can be reached, probed now and every 30 seconds by
// listing its models; the one-line status the interface shows. Main thread only.
class AIStatus : public QObject {
    Q_OBJECT
    Q_PROPERTY(nolvea::AIConnection connection READ connection NOTIFY connectionChanged)
    Q_PROPERTY(QStringList models READ models NOTIFY modelsChanged)
    Q_PROPERTY(QVariant lastLatency READ lastLatencyValue NOTIFY lastLatencyChanged)
    Q_PROPERTY(QVariant lastError READ lastErrorValue NOTIFY lastErrorChanged)
    Q_PROPERTY(QString title READ title NOTIFY titleChanged)

public:
    static constexpr Clock::Duration probeInterval{30'000};

    explicit AIStatus(QObject* parent = nullptr);
    ~AIStatus() override;

    static AIStatus& shared();

    AIConnection connection() const { return m_connection; }
    QStringList models() const { return m_models; }
    // Seconds the last successful clean-up test took.
    std::optional<double> lastLatency() const { return m_lastLatency; }
    // The description of the last failed listing.
    std::optional<QString> lastError() const { return m_lastError; }
    QString title() const;

    // Probes now and every 30 seconds from then on.
    void startMonitoring();
    // Starts one probe and returns at once.
    void refresh();
    // Whether a probe, the newest or an older one, has not ended yet.
    bool isProbing() const { return m_probesRunning > 0; }
    // Cleans a fixed spoken phrase with the configured model, timing it; throws what the
    // clean-up throws.
    QCoro::Task<QString> testCleanup();

    // The phrase `testCleanup` cleans.
    static QString testPhrase();

Q_SIGNALS:
    void connectionChanged();
    void modelsChanged();
    void lastLatencyChanged();
    void lastErrorChanged();
    void titleChanged();
    // A probe ended, after it wrote what it found (nothing, when a newer probe or another
    // back-end took its place).
    void checkFinished();

private:
    QCoro::Task<> probe(LLMClient client, quint64 run);
    void report(const LLMClient& client, quint64 run, std::optional<QStringList> models,
                const QString& error);

    void setConnection(AIConnection value);
    void setModels(const QStringList& value);
    void setLastLatency(std::optional<double> value);
    void setLastError(std::optional<QString> value);
    QVariant lastLatencyValue() const;
    QVariant lastErrorValue() const;

    AIConnection m_connection = AIConnection::unknown;
    QStringList m_models;
    std::optional<double> m_lastLatency;
    std::optional<QString> m_lastError;
    std::unique_ptr<ClockTimer> m_timer;
    quint64 m_probeRun = 0; // only the newest probe reports
    int m_probesRunning = 0;
};

} // namespace nolvea
