#include "core/AgentLog.h"

#include "core/AppPaths.h"
#include "support/AtomicFile.h"
#include "support/Clock.h"
#include "support/Graphemes.h"

#include <QDebug>
#include <QFile>
#include <QStringDecoder>

namespace nolvea {

namespace {

constexpr qsizetype kLineLimit = 1200;
constexpr qsizetype kTrimAt = 200001;
constexpr qsizetype kKeep = 150000;

QString readUtf8(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = f.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) return {}; // not UTF-8: start over
    return text;
}

} // namespace

AgentLog::AgentLog(QString path)
    : m_path(std::move(path)) {}

AgentLog& AgentLog::shared() {
    static AgentLog log(AppPaths::file(QStringLiteral("agent.log")));
    return log;
}

void AgentLog::write(const QString& line) {
    shared().append(line);
}

QString AgentLog::record(const QDateTime& when, const QString& line) {
    QString text = line;
    text.replace(u'\n', QStringLiteral(" \u23CE "));
    return when.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")) + u' ' +
           Graphemes::first(text, kLineLimit) + u'\n';
}

void AgentLog::append(const QString& line) {
    QString rec = record(Clock::shared().now(), line);
    m_queue.async([path = m_path, rec = std::move(rec)] {
        QString text = readUtf8(path) + rec;
        // Characters are never more than UTF-16 units: count them only when it can matter.
        if (text.size() >= kTrimAt && Graphemes::count(text) >= kTrimAt)
            text = Graphemes::last(text, kKeep);
        if (const auto failed = AtomicFile::write(path, text.toUtf8(), AtomicFile::Access::Private))
            qWarning().noquote() << failed->message() << failed->reason();
    });
}

void AgentLog::flush() {
    m_queue.drain();
}

} // namespace nolvea
