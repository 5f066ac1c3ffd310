#pragma once

#include "support/SerialQueue.h"

#include <QString>

namespace nolvea {

// The agent's line log, `agent.log` in the data folder: one "<UTC stamp> <text>" line per
// record, kept under 200,001 characters by cutting it back to its last 150,000.
class AgentLog {
public:
    explicit AgentLog(QString path);

    // Records `line` in the shared log. Returns at once; the file work happens on the
    // log's own thread. Callable from any thread.
    static void write(const QString& line);
    static AgentLog& shared();

    void append(const QString& line);
    // Waits until every record appended so far is in the file.
    void flush();

    QString path() const { return m_path; }

    // The record as it goes into the file (stamp, space, cut text, line feed).
    static QString record(const QDateTime& when, const QString& line);

private:
    QString m_path;
    SerialQueue m_queue{QStringLiteral("Falantorix.AgentLog")};
};

} // namespace nolvea
