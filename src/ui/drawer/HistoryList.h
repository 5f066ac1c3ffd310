#pragma once

#include "core/HistoryEntry.h"
#include "core/HotkeyChoice.h"

#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>
#include <QTimeZone>

namespace nolvea {

// What the history drawer lists: the search, the day groups and each row's texts.
class HistoryList {
public:
    struct Group {
        QDate day; // the key: two runs of one day, even years apart, stay apart by it
        QString title;
        QList<HistoryEntry> entries;

        bool operator==(const Group&) const = default;
    };

    // The entries holding the query (trimmed of blanks and tabs) in their output, transcript
    // or application name, ignoring case; all of them for a blank query.
    static QList<HistoryEntry> filtered(const QList<HistoryEntry>& entries, const QString& query);
    // Runs of consecutive entries of one local day, in the store's order.
    static QList<Group> groups(const QList<HistoryEntry>& entries, const QDateTime& now,
                               const QTimeZone& zone, const QLocale& locale);
    // "Hoje", "Ontem", or the weekday, day and month, with the year when it is not this one.
    static QString dayTitle(const QDate& day, const QDate& today, const QLocale& locale);

    // Dates and times read as in Brazil, like every text of the application.
    static QLocale locale();
    // The kind, the application when known and the time, joined by " · ".
    static QString meta(const HistoryEntry& e, const QTimeZone& zone, const QLocale& locale);
    static QString kindLabel(HistoryEntry::Kind kind);
    // What a folded row shows: the output of a dictation, what was asked otherwise.
    static QString preview(const HistoryEntry& e);
    // Whether the conversation shows what was said beside the result.
    static bool showsRequest(const HistoryEntry& e);
    // The header's counts, of the whole store.
    static QString counts(int entries, int words);

    struct EmptyState {
        QString symbol;
        QString title;
        QString hint;
        bool operator==(const EmptyState&) const = default;
    };
    static EmptyState emptyState(const QString& query, HotkeyChoice key);

    HistoryList() = delete;
};

} // namespace nolvea
