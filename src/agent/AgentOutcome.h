#pragma once

#include <QString>

namespace nolvea {

// How an agent run ended.
struct AgentOutcome {
    enum class Kind { done, answer, cancelled };

    Kind kind = Kind::done;
    QString text{}; // the summary (done) or the answer; "" when cancelled

    static AgentOutcome done(QString summary) { return {Kind::done, std::move(summary)}; }
    static AgentOutcome answer(QString text) { return {Kind::answer, std::move(text)}; }
    static AgentOutcome cancelled() { return {Kind::cancelled, {}}; }

    // The form the agent log prints: `done("…")`, `answer("…")`, `cancelled`.
    QString printed() const {
        if (kind == Kind::cancelled) return QStringLiteral("cancelled");
        const QString name = kind == Kind::done ? QStringLiteral("done") : QStringLiteral("answer");
        QString quoted = text;
        quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
        quoted.replace(u'\n', QStringLiteral("\\n"));
        return name + QStringLiteral("(\"") + quoted + QStringLiteral("\")");
    }

    bool operator==(const AgentOutcome&) const = default;
};

} // namespace nolvea
