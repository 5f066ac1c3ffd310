#include "core/HistoryEntry.h"

#include "support/Clock.h"

#include <QRegularExpression>

namespace nolvea {

namespace {

QString isoDate(const QDateTime& date) {
    return date.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
}

// Internet date-time: "Z" or an offset; fractions of a second are accepted and dropped.
std::optional<QDateTime> parseDate(const QString& text) {
    static const QRegularExpression form(
        QStringLiteral(R"(^\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}(\.\d+)?(Z|[+-]\d{2}:\d{2})$)"));
    if (!form.match(text).hasMatch()) return std::nullopt;
    QDateTime d = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!d.isValid()) d = QDateTime::fromString(text, Qt::ISODate);
    if (!d.isValid()) return std::nullopt;
    d = d.toUTC();
    d.setTime(QTime(d.time().hour(), d.time().minute(), d.time().second()));
    return d;
}

} // namespace

HistoryEntry HistoryEntry::make(Kind kind, QString appName, QString transcript, QString output) {
    HistoryEntry e;
    e.date = Clock::shared().now();
    e.kind = kind;
    e.appName = std::move(appName);
    e.transcript = std::move(transcript);
    e.output = std::move(output);
    return e;
}

JSONValue HistoryEntry::toJSON() const {
    return JSONValue::object({
        {QStringLiteral("id"), id.toString(QUuid::WithoutBraces).toUpper()},
        {QStringLiteral("date"), isoDate(date)},
        {QStringLiteral("kind"), rawValue(kind)},
        {QStringLiteral("appName"), appName},
        {QStringLiteral("transcript"), transcript},
        {QStringLiteral("output"), output},
    });
}

std::optional<HistoryEntry> HistoryEntry::fromJSON(const JSONValue& json) {
    const auto text = [&](const char* key) {
        return json[QString::fromLatin1(key)].value_or(JSONValue()).asString();
    };
    const auto id = text("id"), date = text("date"), kind = text("kind"), app = text("appName"),
               transcript = text("transcript"), output = text("output");
    if (!id || !date || !kind || !app || !transcript || !output) return std::nullopt;
    HistoryEntry e;
    e.id = QUuid::fromString(*id);
    if (e.id.isNull() || id->size() != 36) return std::nullopt;
    const auto when = parseDate(*date);
    const auto k = fromRawValue<Kind>(*kind);
    if (!when || !k) return std::nullopt;
    e.date = *when;
    e.kind = *k;
    e.appName = *app;
    e.transcript = *transcript;
    e.output = *output;
    return e;
}

} // namespace nolvea
