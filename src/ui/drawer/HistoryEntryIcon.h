#pragma once

#include "core/HistoryEntry.h"
#include "ui/components/SymbolBadge.h"

namespace nolvea {

// The round badge that tells an entry's kind: a waveform for dictation, a pencil for an
// edit, sparkles in the brand purple for the agent.
class HistoryEntryIcon : public SymbolBadge {
    Q_OBJECT

public:
    HistoryEntryIcon(HistoryEntry::Kind kind, int size, QWidget* parent = nullptr);

    static QString symbol(HistoryEntry::Kind kind);
    static QColor tint(HistoryEntry::Kind kind);
};

} // namespace nolvea
