#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// The dates the tools accept and print, in the machine's time zone. "Now" comes from
// `Clock::shared()`.
namespace nolvea::AgentDate {

// ISO 8601 with a zone (fraction optional), then without one (local), then
// "yyyy-MM-ddTHH:mm", "yyyy-MM-dd HH:mm" and "yyyy-MM-dd" in local time. Not trimmed.
std::optional<QDateTime> parse(const QString& text);

// "quarta-feira, 09/12/2026 08:00 — ISO 2026-12-09T08:00:00Z — fuso UTC"
QString nowDescription();

// The eight days from today, "qua 09/12/2026 (hoje), qui 10/12/2026 (amanhã), …".
QString upcomingDays();

// "hoje às 09:05", "amanhã (dia inteiro)", else the weekday, day and month in Portuguese.
QString describe(const QDateTime& date, bool allDay);

} // namespace nolvea::AgentDate
