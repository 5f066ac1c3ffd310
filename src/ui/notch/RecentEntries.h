#pragma once

#include "core/HistoryEntry.h"

#include <QDateTime>
#include <QList>
#include <QUuid>

#include <optional>

namespace nolvea {

// The recent history in the hover panel: which slot shows, the rows and their words.
class RecentEntries {
public:
    static constexpr int kRows = 4;
    // From this many characters of request and result together, an opened entry scrolls.
    static constexpr int kDetailScrollFrom = 420;
    static constexpr int kDetailScrollHeight = 300;

    struct Slot {
        std::optional<HistoryEntry> opened; // the opened entry, when it is still there
        QList<HistoryEntry> rows;           // else the newest entries
    };
    static Slot slot(const std::optional<QUuid>& expanded, const QList<HistoryEntry>& entries);

    static QString title(const HistoryEntry& entry);
    static QString kindLabel(HistoryEntry::Kind kind);
    static QString subtitle(const HistoryEntry& entry, const QDateTime& now);
    static bool detailScrolls(const HistoryEntry& entry);

    // "há 5 minutos"; named wording says "agora", "ontem" and "amanhã" where it can.
    static QString relativeDate(const QDateTime& date, const QDateTime& now, bool named);

    RecentEntries() = delete;
};

} // namespace nolvea
